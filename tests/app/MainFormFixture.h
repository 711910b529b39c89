// A main window made from the program's form description for each test,
// with recorded dialogs and a scratch directory for settings and projects.
#pragma once

#include "app/MainUnit.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <string>

class MainFormFixture : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Removes a quit request that closing the main form left in the queue.
  static void DrainQuit();
  // The bytes of a file (empty when it cannot be read).
  static std::string FileText(const String& AFileName);

  TScratchDir Dir;
  TRecordedDialogs Dialogs;
  TMainForm* Form = nullptr;

 private:
  String FSavedDir;
};
