/* Compiled as C99: the public header must serve C callers as it is. */
#include "kvmdev32.h"

int kvm_c_view_version(void);

int kvm_c_view_version(void) {
  KvmFile* none = KvmOpenFile(0);
  char name[KVM_NAME_BUFFER_SIZE];
  if (none != 0 || KvmGetVarName(none, 1, name) != 0) return -1;
  return (int)KvmDevVersion();
}
