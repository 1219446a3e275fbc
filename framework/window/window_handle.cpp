#include "framework/window/window_handle.h"

#include <utility>

namespace {

HINSTANCE InstanceOf(HWND window) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

}  // namespace

CWindowHandle::CWindowHandle(CWindowHandle&& other) noexcept
    : window(other.window), parent(other.parent), instance(other.instance), font(other.font) {
  other.font = nullptr;
}

CWindowHandle& CWindowHandle::operator=(CWindowHandle&& other) noexcept {
  if (this != &other) {
    if (font) DeleteObject(font);
    window = other.window;
    parent = other.parent;
    instance = other.instance;
    font = std::exchange(other.font, nullptr);
  }
  return *this;
}

CWindowHandle::~CWindowHandle() {
  if (font) {
    DeleteObject(font);
    font = nullptr;
  }
}

HINSTANCE CWindowHandle::Attach(HWND parent, HWND window) {
  this->window = window;
  this->parent = parent;
  instance = window ? InstanceOf(window) : nullptr;
  return instance;
}

HINSTANCE CControl::AttachDlgItem(HWND dialog, int controlId) {
  this->controlId = controlId;
  window = dialog ? GetDlgItem(dialog, controlId) : nullptr;
  parent = dialog;
  instance = window ? InstanceOf(window) : nullptr;
  return instance;
}
