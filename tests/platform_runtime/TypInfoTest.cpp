// The compile-time check of enumeration name tables, run on tables that
// publishing would refuse.
#include "platform/runtime/TypInfo.h"

#include <gtest/gtest.h>

namespace {
enum TWellNamed { wnFirst, wnSecond, wnThird };
enum TSwappedNames { snFirst, snSecond, snThird };
enum TMisspelt { msRed, msGreen };
enum TWithGap { wgZero, wgTwo = 2 };
enum class TScopedKind { Near, Far };
}  // namespace

template <>
struct TEnumInfo<TWellNamed> {
  static constexpr const wchar_t* Name = L"TWellNamed";
  static constexpr const wchar_t* Names[] = {L"wnFirst", L"wnSecond", L"wnThird"};
  static constexpr TWellNamed Last = wnThird;
};
template <>
struct TEnumInfo<TSwappedNames> {
  static constexpr const wchar_t* Name = L"TSwappedNames";
  static constexpr const wchar_t* Names[] = {L"snFirst", L"snThird", L"snSecond"};
  static constexpr TSwappedNames Last = snThird;
};
template <>
struct TEnumInfo<TMisspelt> {
  static constexpr const wchar_t* Name = L"TMisspelt";
  static constexpr const wchar_t* Names[] = {L"msRed", L"msGren"};
  static constexpr TMisspelt Last = msGreen;
};
template <>
struct TEnumInfo<TWithGap> {
  static constexpr const wchar_t* Name = L"TWithGap";
  static constexpr const wchar_t* Names[] = {L"wgZero", L"wgOne", L"wgTwo"};
  static constexpr TWithGap Last = wgTwo;
};
template <>
struct TEnumInfo<TScopedKind> {
  static constexpr const wchar_t* Name = L"TScopedKind";
  static constexpr const wchar_t* Names[] = {L"Near", L"Far"};
  static constexpr TScopedKind Last = TScopedKind::Far;
};

namespace {

template <class E>
constexpr std::size_t FirstMisnamed() {
  return typinfo_detail::FirstMisnamedValue<E>(std::make_index_sequence<std::size(TEnumInfo<E>::Names)>());
}

TEST(EnumNameTables, TheFirstNameThatIsNotItsValuesEnumeratorIsFound) {
  EXPECT_EQ(FirstMisnamed<TWellNamed>(), 3u);     // none: the table's size
  EXPECT_EQ(FirstMisnamed<TScopedKind>(), 2u);    // scoped enumerators are named without their scope
  EXPECT_EQ(FirstMisnamed<TSwappedNames>(), 1u);  // names out of value order
  EXPECT_EQ(FirstMisnamed<TMisspelt>(), 1u);
  EXPECT_EQ(FirstMisnamed<TWithGap>(), 1u);       // a value without an enumerator
}

TEST(EnumNameTables, PublishedTablesAreTheNamesInValueOrder) {
  const TTypeInfo* well = TypeInfoOf<TWellNamed>();
  EXPECT_EQ(well->Kind, tkEnumeration);
  EXPECT_EQ(well->EnumNames, (std::vector<String>{L"wnFirst", L"wnSecond", L"wnThird"}));
  EXPECT_EQ(GetEnumValue(TypeInfoOf<TScopedKind>(), L"Far"), 1);
}

}  // namespace
