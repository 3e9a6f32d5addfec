// The cdecl forms: each _NRXC<Name> only forwards to NRX<Name>. Both come
// from the one list in the public header; redeclaring the primary form from
// that list makes any difference between the list and the documented
// prototype a compile error.

#include "nrx32.h"

#define NRX_CHECK_PRIMARY_FORM(result, name, parameters, arguments) \
  extern "C" NRX_API result NRX_CALL NRX##name parameters;
NRX_CDECL_FORMS(NRX_CHECK_PRIMARY_FORM)
#undef NRX_CHECK_PRIMARY_FORM

#define NRX_DEFINE_CDECL_FORM(result, name, parameters, arguments) \
  extern "C" NRX_API result _NRXC##name parameters {               \
    return NRX##name arguments;                                    \
  }
NRX_CDECL_FORMS(NRX_DEFINE_CDECL_FORM)
#undef NRX_DEFINE_CDECL_FORM
