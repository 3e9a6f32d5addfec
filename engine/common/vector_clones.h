#pragma once

// Builds a kernel for several instruction sets, the widest one the processor
// has picked at load time. The sanitizers and clang get the one default build.

#if defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) && !defined(__clang__)
#define TAVRIN_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define TAVRIN_VECTOR_CLONES
#endif
