#include "framework/window/com_init.h"

#include <objbase.h>

namespace flib {

namespace {

struct ComState {
  bool initialised = false;
  HRESULT result = S_OK;
  ~ComState() {
    if (initialised) CoUninitialize();
  }
};

ComState comState;

}  // namespace

HRESULT InitializeCom() {
  if (comState.initialised) return comState.result;
  HRESULT result = CoInitialize(nullptr);
  if (result == S_OK) {
    comState.initialised = true;
    comState.result = result;
  }
  return result;
}

void UninitializeCom() {
  if (!comState.initialised) return;
  CoUninitialize();
  comState.initialised = false;
}

}  // namespace flib
