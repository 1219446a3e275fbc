/* What the proxy code that widl generates needs and GCC lacks: stand-ins for
   the structured exception keywords (a fault in a proxy then ends the test
   program, as any other fault), and the IUnknown proxies of the system's
   rpcrt4 that its headers leave undeclared. */
#define __try if (1)
#define __except(filter) else if (0)
#define __finally if (1)
#define GetExceptionCode() 0

#include <objbase.h>

HRESULT STDMETHODCALLTYPE IUnknown_QueryInterface_Proxy(IUnknown *This, REFIID riid, void **ppvObject);
ULONG STDMETHODCALLTYPE IUnknown_AddRef_Proxy(IUnknown *This);
ULONG STDMETHODCALLTYPE IUnknown_Release_Proxy(IUnknown *This);
