/* What the proxy code that widl generates needs and GCC lacks.
 *
 * Structured exceptions: a proxy turns the exception that RPC raises for a
 * failed call (the other process ended or broke off) into the call's
 * HRESULT, as Windows' own proxies do; GCC has no __try/__except in C.  Each
 * try block here pushes a frame of this thread's (proxy_try.c), and a
 * vectored exception handler jumps back to the innermost frame when an RPC
 * exception is raised inside it.  What a finally block would have freed is
 * then left (these are test programs); an exception that is no RPC failure
 * (a fault of the program) goes on as ever.
 *
 * And the IUnknown proxies of the system's rpcrt4 that its headers leave
 * undeclared. */
#pragma once

#include <objbase.h>
#include <rpcproxy.h>

typedef struct ProxyTry {
  void *jump[5]; /* __builtin_setjmp's buffer */
  struct ProxyTry *outer;
  DWORD code;
} ProxyTry;

void ProxyTryEnter(ProxyTry *frame);
void ProxyTryLeave(ProxyTry *frame);

#undef RpcTryExcept
#undef RpcExcept
#undef RpcEndExcept
#undef RpcTryFinally
#undef RpcFinally
#undef RpcEndFinally
#undef RpcExceptionCode

#define RpcTryExcept                      \
  {                                       \
    ProxyTry __proxy_try;                 \
    ProxyTryEnter(&__proxy_try);          \
    if (__builtin_setjmp(__proxy_try.jump) == 0) {
#define RpcExcept(filter)                 \
      ProxyTryLeave(&__proxy_try);        \
    } else {
#define RpcEndExcept                      \
    }                                     \
  }
#define RpcExceptionCode() (__proxy_try.code)
#define RpcTryFinally {
#define RpcFinally }{
#define RpcEndFinally }

HRESULT STDMETHODCALLTYPE IUnknown_QueryInterface_Proxy(IUnknown *This, REFIID riid, void **ppvObject);
ULONG STDMETHODCALLTYPE IUnknown_AddRef_Proxy(IUnknown *This);
ULONG STDMETHODCALLTYPE IUnknown_Release_Proxy(IUnknown *This);
