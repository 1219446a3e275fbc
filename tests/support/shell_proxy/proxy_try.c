/* The try frames of widl_shim.h: a stack per thread, and the vectored
   exception handler that jumps back to the innermost frame. */
#include <windows.h>

#include "widl_shim.h"

static __thread ProxyTry *innermost;
static LONG handlerAdded;

/* RPC raises its failures with RpcRaiseException: an RPC status or an
   HRESULT, never one of the system's fault codes. */
static int IsFault(DWORD code) { return (code & 0xF0000000u) == 0xC0000000u || code == EXCEPTION_BREAKPOINT; }

static LONG CALLBACK CatchRpcFailure(EXCEPTION_POINTERS *info) {
  ProxyTry *frame = innermost;
  const DWORD code = info->ExceptionRecord->ExceptionCode;
  if (!frame || IsFault(code)) return EXCEPTION_CONTINUE_SEARCH;
  innermost = frame->outer;
  frame->code = code;
  __builtin_longjmp(frame->jump, 1);
}

void ProxyTryEnter(ProxyTry *frame) {
  if (!InterlockedCompareExchange(&handlerAdded, 1, 0)) AddVectoredExceptionHandler(1, CatchRpcFailure);
  frame->outer = innermost;
  frame->code = 0;
  innermost = frame;
}

void ProxyTryLeave(ProxyTry *frame) {
  if (innermost == frame) innermost = frame->outer;
}
