// CDialog with its thunk and control cache, and the control wrappers, on the
// test dialog 200 of test_resources.rc.
#include "framework/window/dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/window/controls.h"

namespace {

const int kTestDialog = 200;
const UINT kRunChecks = WM_APP + 7;

HINSTANCE Me() { return GetModuleHandleA(nullptr); }

// What the caller's procedure saw.
struct Seen {
  LPARAM initParam = 0;
  HWND initWindowField = nullptr;
  HWND initHandle = nullptr;
  UINT firstMessage = 0;
  DLGPROC procAfterInit = nullptr;
  CWindowHandle* firstLookup = nullptr;
  CWindowHandle* secondLookup = nullptr;
  CWindowHandle* missingLookup = nullptr;
  HWND checkBoxFromCache = nullptr;
};
Seen seen;

INT_PTR CALLBACK CallerDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (!seen.firstMessage) seen.firstMessage = message;
  switch (message) {
    case WM_INITDIALOG: {
      auto* object = reinterpret_cast<CDialog*>(lParam);
      seen.initParam = lParam;
      seen.initWindowField = object->window;
      seen.initHandle = dialog;
      PostMessageA(dialog, kRunChecks, 0, lParam);
      return TRUE;
    }
    case kRunChecks: {
      auto* object = reinterpret_cast<CDialog*>(lParam);
      seen.procAfterInit = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
      seen.firstLookup = object->GetControl(1005);
      seen.secondLookup = object->GetControl(1005);
      seen.missingLookup = object->GetControl(4444);
      seen.checkBoxFromCache = seen.firstLookup->window;
      EndDialog(dialog, 42 + static_cast<int>(object->GetUserValue()));
      return TRUE;
    }
  }
  return FALSE;
}

TEST(Dialog, TheThunkHandsWmInitDialogAndTheDialogToTheCallersProcedure) {
  seen = Seen();
  CDialog dialog;
  EXPECT_EQ(dialog.DoModal(kTestDialog, Me(), nullptr, CallerDialogProc), 42);
  // Nothing before WM_INITDIALOG reached the caller.
  EXPECT_EQ(seen.firstMessage, static_cast<UINT>(WM_INITDIALOG));
  EXPECT_EQ(seen.initParam, reinterpret_cast<LPARAM>(&dialog));
  ASSERT_NE(seen.initHandle, nullptr);
  EXPECT_EQ(seen.initWindowField, seen.initHandle);
  EXPECT_EQ(dialog.window, seen.initHandle);
  EXPECT_EQ(seen.procAfterInit, CallerDialogProc);
  EXPECT_EQ(dialog.GetTemplateId(), kTestDialog);
  EXPECT_EQ(dialog.instance, Me());
}

TEST(Dialog, GetControlMakesOneWrapperPerIdUntilTheNextRun) {
  seen = Seen();
  CDialog dialog;
  EXPECT_EQ(dialog.DoModal(kTestDialog, Me(), nullptr, CallerDialogProc, 8), 50);
  EXPECT_EQ(dialog.GetUserValue(), 8);
  ASSERT_NE(seen.firstLookup, nullptr);
  EXPECT_EQ(seen.firstLookup, seen.secondLookup);
  EXPECT_NE(seen.checkBoxFromCache, nullptr);
  EXPECT_EQ(seen.missingLookup->window, nullptr);

  // A second run starts with an empty cache and the new dialog's controls.
  HWND firstRunControl = seen.checkBoxFromCache;
  seen = Seen();
  EXPECT_EQ(dialog.DoModal(kTestDialog, Me(), nullptr, CallerDialogProc), 42);
  EXPECT_EQ(dialog.GetUserValue(), 0);
  EXPECT_NE(seen.checkBoxFromCache, nullptr);
  EXPECT_FALSE(IsWindow(firstRunControl));
}

TEST(Dialog, AMissingTemplateOrProcedureGivesMinusOne) {
  CDialog dialog;
  EXPECT_EQ(dialog.DoModal(4321, Me(), nullptr, CallerDialogProc), -1);
  EXPECT_EQ(dialog.DoModal(kTestDialog, Me(), nullptr, nullptr), -1);
  EXPECT_EQ(dialog.Create(4321, Me(), nullptr, CallerDialogProc), nullptr);
}

INT_PTR CALLBACK ModelessProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// A modeless run of the test dialog with wrappers bound to its items.
class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(dialog_.Create(kTestDialog, Me(), nullptr, ModelessProc), nullptr);
    ASSERT_EQ(reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog_.window, DWLP_DLGPROC)), ModelessProc);
  }
  void TearDown() override { DestroyWindow(dialog_.window); }
  CDialog dialog_;
};

TEST_F(Controls, CheckBoxStatesAndTheIndeterminateOne) {
  CCheckBox box;
  box.AttachDlgItem(dialog_.window, 1005);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
  EXPECT_FALSE(box.IsChecked());
  box.SetCheck(BST_INDETERMINATE);
  EXPECT_EQ(box.GetCheck(), BST_INDETERMINATE);
  EXPECT_FALSE(box.IsChecked());
  box.SetChecked(5);  // any non-zero flag checks
  EXPECT_EQ(box.GetCheck(), BST_CHECKED);
  EXPECT_TRUE(box.IsChecked());
  box.SetChecked(FALSE);
  EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
}

TEST_F(Controls, StaticButtonAndEditOperations) {
  CStatic text;
  EXPECT_EQ(text.AttachDlgItem(dialog_.window, 1003), Me());
  SetWindowTextA(text.window, "バージョン 0.08");
  char buffer[64] = {};
  GetWindowTextA(text.window, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "バージョン 0.08");

  CButton button;
  button.AttachDlgItem(dialog_.window, 1001);
  EXPECT_TRUE(button.SetIcon(110));  // the first icon too, though the button had none before
  EXPECT_TRUE(button.SetIcon(110));
  EXPECT_FALSE(button.SetIcon(4321));

  CEdit edit;
  edit.AttachDlgItem(dialog_.window, 1007);
  SetWindowTextA(edit.window, "abcdef");
  edit.SetSel(1, 4);
  DWORD start = 0, end = 0;
  SendMessageA(edit.window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 4u);
  edit.Copy();
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_TEXT);
  std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "";
  if (data) GlobalUnlock(data);
  CloseClipboard();
  EXPECT_EQ(copied, "bcd");
}

TEST_F(Controls, AWrapperOfAMissingItemHasNoEffect) {
  CCheckBox box;
  box.AttachDlgItem(dialog_.window, 4321);
  EXPECT_EQ(box.window, nullptr);
  EXPECT_EQ(box.GetCheck(), 0);
  EXPECT_FALSE(box.IsChecked());
  CButton button;
  button.AttachDlgItem(dialog_.window, 4321);
  EXPECT_FALSE(button.SetIcon(110));
}

}  // namespace
