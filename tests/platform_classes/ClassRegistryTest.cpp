#include "platform/classes/Persistent.h"

#include <gtest/gtest.h>

namespace {

// Each test has classes of its own: groups cannot be taken back.
class TToolBase : public TPersistent {
  SK_CLASS(TToolBase, TPersistent)
};
class TToolHammer : public TToolBase {
  SK_CLASS(TToolHammer, TToolBase)
};
class TToolBox : public TPersistent {
  SK_CLASS(TToolBox, TPersistent)
};
class TToolBoxTray : public TToolBox {
  SK_CLASS(TToolBoxTray, TToolBox)
};
class TToolNote : public TPersistent {
  SK_CLASS(TToolNote, TPersistent)
};

// Two families with a group each.
class TWidgetBase : public TPersistent {
  SK_CLASS(TWidgetBase, TPersistent)
};
class TWidgetButton : public TWidgetBase {
  SK_CLASS(TWidgetButton, TWidgetBase)
};
class TGadgetBase : public TPersistent {
  SK_CLASS(TGadgetBase, TPersistent)
};
class TGadgetButton : public TGadgetBase {
  SK_CLASS(TGadgetButton, TGadgetBase)
};
class TPlainRecord : public TPersistent {
  SK_CLASS(TPlainRecord, TPersistent)
};
class TGearBase : public TPersistent {
  SK_CLASS(TGearBase, TPersistent)
};
class TGear : public TGearBase {
  SK_CLASS(TGear, TGearBase)
};

// Puts the active group back when a test ends.
class ClassGroups : public testing::Test {
 protected:
  void SetUp() override { FActive = ActivateClassGroup(TPersistent::ClassInfo()); }
  void TearDown() override { ActivateClassGroup(FActive); }
  TClass FActive = nullptr;
};

TEST_F(ClassGroups, AClassBelongsToTheGroupOfItsNearestRootOrGrouping) {
  RegisterClasses({TToolHammer::ClassInfo(), TToolBoxTray::ClassInfo()});
  EXPECT_EQ(ClassGroupOf(TToolHammer::ClassInfo()), TPersistent::ClassInfo()) << "before any group starts";

  StartClassGroup(TToolBase::ClassInfo());
  StartClassGroup(TToolBase::ClassInfo());  // a second start changes nothing
  GroupDescendentsWith(TToolBox::ClassInfo(), TToolHammer::ClassInfo());
  EXPECT_EQ(ClassGroupOf(TToolBase::ClassInfo()), TToolBase::ClassInfo());
  EXPECT_EQ(ClassGroupOf(TToolHammer::ClassInfo()), TToolBase::ClassInfo()) << "registered before, moved";
  EXPECT_EQ(ClassGroupOf(TToolBoxTray::ClassInfo()), TToolBase::ClassInfo()) << "a grouped class's descendant";
  EXPECT_EQ(ClassGroupOf(TToolNote::ClassInfo()), TPersistent::ClassInfo());
}

TEST_F(ClassGroups, NamesAreLookedUpInTheActiveGroupThenInTheFirst) {
  StartClassGroup(TWidgetBase::ClassInfo());
  StartClassGroup(TGadgetBase::ClassInfo());
  RegisterClasses({TWidgetButton::ClassInfo(), TGadgetButton::ClassInfo(), TPlainRecord::ClassInfo()});
  // One name in two groups.
  RegisterClassAlias(TWidgetButton::ClassInfo(), L"TSharedButton");
  RegisterClassAlias(TGadgetButton::ClassInfo(), L"TSharedButton");

  EXPECT_EQ(ActivateClassGroup(TWidgetButton::ClassInfo()), TPersistent::ClassInfo());
  EXPECT_EQ(GetClass(L"tsharedbutton"), TWidgetButton::ClassInfo());
  EXPECT_EQ(GetClass(L"TWidgetButton"), TWidgetButton::ClassInfo());
  EXPECT_EQ(GetClass(L"TGadgetButton"), nullptr) << "another group is not searched";
  EXPECT_EQ(GetClass(L"TPlainRecord"), TPlainRecord::ClassInfo()) << "the first group is always searched";

  EXPECT_EQ(ActivateClassGroup(TGadgetBase::ClassInfo()), TWidgetBase::ClassInfo());
  EXPECT_EQ(GetClass(L"TSharedButton"), TGadgetButton::ClassInfo());
  EXPECT_EQ(GetClass(L"TWidgetButton"), nullptr);
  EXPECT_THROW(FindClass(L"TWidgetButton"), EClassNotFound);
  EXPECT_EQ(GetClass(L"TPlainRecord"), TPlainRecord::ClassInfo());
}

TEST_F(ClassGroups, AnotherClassUnderANameOfTheSameGroupIsRefused) {
  StartClassGroup(TGearBase::ClassInfo());
  RegisterClassAlias(TGear::ClassInfo(), L"TGearAlias");
  RegisterClassAlias(TGear::ClassInfo(), L"TGearAlias");  // the same class again: nothing
  EXPECT_THROW(RegisterClassAlias(TGearBase::ClassInfo(), L"TGearAlias"), EFilerError);
  ActivateClassGroup(TGearBase::ClassInfo());
  EXPECT_EQ(GetClass(L"TGearAlias"), TGear::ClassInfo());
  UnRegisterClass(TGear::ClassInfo());
  EXPECT_EQ(GetClass(L"TGearAlias"), nullptr);
}

}  // namespace
