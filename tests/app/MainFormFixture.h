// A main window made from the program's form description for each test,
// with recorded dialogs and a scratch directory for settings and projects.
#pragma once

#include "app/MainUnit.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <string>

class MainFormFixture : public testing::Test {
 public:
  // The bytes of a file (empty when it cannot be read).
  static std::string FileText(const String& AFileName);

 protected:
  void SetUp() override;
  void TearDown() override;

  // Shows the window without its OnShow handler, whose port check belongs to
  // the tests that own the system's port list (SerialPortListTest.cpp).
  void ShowForm();
  // Removes a quit request that closing the main form left in the queue.
  static void DrainQuit();
  TScratchDir Dir;
  TRecordedDialogs Dialogs;
  TMainForm* Form = nullptr;

 private:
  String FSavedDir;
};
