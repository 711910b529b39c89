#include "platform/runtime/SqlTimSt.h"

#include <gtest/gtest.h>

namespace {

TEST(SqlTimSt, DateTimeRoundTrip) {
  TSQLTimeStamp ts;
  ts.Year = 2024;
  ts.Month = 2;
  ts.Day = 29;
  ts.Hour = 13;
  ts.Minute = 45;
  ts.Second = 30;
  ts.Fractions = 250;
  const TDateTime dt = SQLTimeStampToDateTime(ts);
  EXPECT_EQ(dt, EncodeDateTime(2024, 2, 29, 13, 45, 30, 250));
  EXPECT_EQ(DateTimeToSQLTimeStamp(dt), ts);
  EXPECT_EQ(SQLTimeStampToDateTime(TSQLTimeStamp()), 0);

  TSQLTimeStamp bad = ts;
  bad.Month = 13;
  EXPECT_THROW(SQLTimeStampToDateTime(bad), EConvertError);
}

TEST(SqlTimSt, VariantType) {
  ASSERT_NE(VarSQLTimeStamp(), 0);
  const TDateTime moment = EncodeDateTime(1999, 12, 31, 23, 59, 59, 0);
  const Variant v = VarSQLTimeStampCreate(moment);
  EXPECT_TRUE(VarIsSQLTimeStamp(v));
  EXPECT_EQ(VarTypeAsText(VarType(v)), L"SQLTimeStamp");
  EXPECT_EQ(v.AsDateTime(), moment);
  EXPECT_EQ(v.AsString(), DateTimeToStr(moment));
  EXPECT_EQ(VarCompareValue(v, Variant::FromDateTime(moment)), vrEqual);
  EXPECT_EQ(VarCompareValue(v, Variant::FromDateTime(moment + 1)), vrLessThan);
  EXPECT_EQ(VarToSQLTimeStamp(Variant::FromDateTime(moment)).Year, 1999);
  EXPECT_EQ(VarType(VarAsType(v, varDate)), varDate);

  TSQLTimeStamp bad;
  bad.Year = 1;
  bad.Month = 40;
  EXPECT_THROW(VarSQLTimeStampCreate(bad).AsDateTime(), EVariantTypeCastError);
}

}  // namespace
