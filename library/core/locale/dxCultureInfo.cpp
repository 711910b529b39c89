#include "library/core/locale/dxCultureInfo.h"

#include <iterator>

namespace {

struct TdxCultureNameEntry {
  int Key;
  const wchar_t* Name;
};

// In ascending order of the identifiers.
constexpr TdxCultureNameEntry CultureNameTable[] = {
    {1, L"ar"}, {2, L"bg"}, {3, L"ca"}, {4, L"zh-Hans"}, {5, L"cs"}, {6, L"da"}, {7, L"de"}, {8, L"el"},
    {9, L"en"}, {10, L"es"}, {11, L"fi"}, {12, L"fr"}, {13, L"he"}, {14, L"hu"}, {15, L"is"}, {16, L"it"},
    {17, L"ja"}, {18, L"ko"}, {19, L"nl"}, {20, L"no"}, {21, L"pl"}, {22, L"pt"}, {23, L"rm"}, {24, L"ro"},
    {25, L"ru"}, {26, L"hr"}, {27, L"sk"}, {28, L"sq"}, {29, L"sv"}, {30, L"th"}, {31, L"tr"}, {32, L"ur"},
    {33, L"id"}, {34, L"uk"}, {35, L"be"}, {36, L"sl"}, {37, L"et"}, {38, L"lv"}, {39, L"lt"}, {40, L"tg"},
    {41, L"fa"}, {42, L"vi"}, {43, L"hy"}, {44, L"az"}, {45, L"eu"}, {46, L"hsb"}, {47, L"mk"}, {50, L"tn"},
    {52, L"xh"}, {53, L"zu"}, {54, L"af"}, {55, L"ka"}, {56, L"fo"}, {57, L"hi"}, {58, L"mt"}, {59, L"se"},
    {60, L"ga"}, {62, L"ms"}, {63, L"kk"}, {64, L"ky"}, {65, L"sw"}, {66, L"tk"}, {67, L"uz"}, {68, L"tt"},
    {69, L"bn"}, {70, L"pa"}, {71, L"gu"}, {72, L"or"}, {73, L"ta"}, {74, L"te"}, {75, L"kn"}, {76, L"ml"},
    {77, L"as"}, {78, L"mr"}, {79, L"sa"}, {80, L"mn"}, {81, L"bo"}, {82, L"cy"}, {83, L"km"}, {84, L"lo"},
    {86, L"gl"}, {87, L"kok"}, {89, L"sd"}, {90, L"syr"}, {91, L"si"}, {92, L"chr"}, {93, L"iu"}, {94, L"am"},
    {95, L"tzm"}, {97, L"ne"}, {98, L"fy"}, {99, L"ps"}, {100, L"fil"}, {101, L"dv"}, {103, L"ff"}, {104, L"ha"},
    {106, L"yo"}, {107, L"quz"}, {108, L"nso"}, {109, L"ba"}, {110, L"lb"}, {111, L"kl"}, {112, L"ig"},
    {115, L"ti"}, {117, L"haw"}, {120, L"ii"}, {122, L"arn"}, {124, L"moh"}, {126, L"br"}, {127, L""},
    {128, L"ug"}, {129, L"mi"}, {130, L"oc"}, {131, L"co"}, {132, L"gsw"}, {133, L"sah"}, {134, L"qut"},
    {135, L"rw"}, {136, L"wo"}, {140, L"prs"}, {145, L"gd"}, {146, L"ku"}, {1025, L"ar-SA"}, {1026, L"bg-BG"},
    {1027, L"ca-ES"}, {1028, L"zh-TW"}, {1029, L"cs-CZ"}, {1030, L"da-DK"}, {1031, L"de-DE"}, {1032, L"el-GR"},
    {1033, L"en-US"}, {1035, L"fi-FI"}, {1036, L"fr-FR"}, {1037, L"he-IL"}, {1038, L"hu-HU"}, {1039, L"is-IS"},
    {1040, L"it-IT"}, {1041, L"ja-JP"}, {1042, L"ko-KR"}, {1043, L"nl-NL"}, {1044, L"nb-NO"}, {1045, L"pl-PL"},
    {1046, L"pt-BR"}, {1047, L"rm-CH"}, {1048, L"ro-RO"}, {1049, L"ru-RU"}, {1050, L"hr-HR"}, {1051, L"sk-SK"},
    {1052, L"sq-AL"}, {1053, L"sv-SE"}, {1054, L"th-TH"}, {1055, L"tr-TR"}, {1056, L"ur-PK"}, {1057, L"id-ID"},
    {1058, L"uk-UA"}, {1059, L"be-BY"}, {1060, L"sl-SI"}, {1061, L"et-EE"}, {1062, L"lv-LV"}, {1063, L"lt-LT"},
    {1064, L"tg-Cyrl-TJ"}, {1065, L"fa-IR"}, {1066, L"vi-VN"}, {1067, L"hy-AM"}, {1068, L"az-Latn-AZ"},
    {1069, L"eu-ES"}, {1070, L"hsb-DE"}, {1071, L"mk-MK"}, {1074, L"tn-ZA"}, {1076, L"xh-ZA"}, {1077, L"zu-ZA"},
    {1078, L"af-ZA"}, {1079, L"ka-GE"}, {1080, L"fo-FO"}, {1081, L"hi-IN"}, {1082, L"mt-MT"}, {1083, L"se-NO"},
    {1086, L"ms-MY"}, {1087, L"kk-KZ"}, {1088, L"ky-KG"}, {1089, L"sw-KE"}, {1090, L"tk-TM"},
    {1091, L"uz-Latn-UZ"}, {1092, L"tt-RU"}, {1093, L"bn-IN"}, {1094, L"pa-IN"}, {1095, L"gu-IN"},
    {1096, L"or-IN"}, {1097, L"ta-IN"}, {1098, L"te-IN"}, {1099, L"kn-IN"}, {1100, L"ml-IN"}, {1101, L"as-IN"},
    {1102, L"mr-IN"}, {1103, L"sa-IN"}, {1104, L"mn-MN"}, {1105, L"bo-CN"}, {1106, L"cy-GB"}, {1107, L"km-KH"},
    {1108, L"lo-LA"}, {1110, L"gl-ES"}, {1111, L"kok-IN"}, {1114, L"syr-SY"}, {1115, L"si-LK"},
    {1116, L"chr-Cher-US"}, {1117, L"iu-Cans-CA"}, {1118, L"am-ET"}, {1121, L"ne-NP"}, {1122, L"fy-NL"},
    {1123, L"ps-AF"}, {1124, L"fil-PH"}, {1125, L"dv-MV"}, {1128, L"ha-Latn-NG"}, {1130, L"yo-NG"},
    {1131, L"quz-BO"}, {1132, L"nso-ZA"}, {1133, L"ba-RU"}, {1134, L"lb-LU"}, {1135, L"kl-GL"}, {1136, L"ig-NG"},
    {1139, L"ti-ET"}, {1141, L"haw-US"}, {1144, L"ii-CN"}, {1146, L"arn-CL"}, {1148, L"moh-CA"},
    {1150, L"br-FR"}, {1152, L"ug-CN"}, {1153, L"mi-NZ"}, {1154, L"oc-FR"}, {1155, L"co-FR"}, {1156, L"gsw-FR"},
    {1157, L"sah-RU"}, {1158, L"qut-GT"}, {1159, L"rw-RW"}, {1160, L"wo-SN"}, {1164, L"prs-AF"},
    {1169, L"gd-GB"}, {1170, L"ku-Arab-IQ"}, {2049, L"ar-IQ"}, {2051, L"ca-ES-valencia"}, {2052, L"zh-CN"},
    {2055, L"de-CH"}, {2057, L"en-GB"}, {2058, L"es-MX"}, {2060, L"fr-BE"}, {2064, L"it-CH"}, {2067, L"nl-BE"},
    {2068, L"nn-NO"}, {2070, L"pt-PT"}, {2074, L"sr-Latn-CS"}, {2077, L"sv-FI"}, {2092, L"az-Cyrl-AZ"},
    {2094, L"dsb-DE"}, {2098, L"tn-BW"}, {2107, L"se-SE"}, {2108, L"ga-IE"}, {2110, L"ms-BN"},
    {2115, L"uz-Cyrl-UZ"}, {2117, L"bn-BD"}, {2118, L"pa-Arab-PK"}, {2121, L"ta-LK"}, {2128, L"mn-Mong-CN"},
    {2137, L"sd-Arab-PK"}, {2141, L"iu-Latn-CA"}, {2143, L"tzm-Latn-DZ"}, {2151, L"ff-Latn-SN"},
    {2155, L"quz-EC"}, {2163, L"ti-ER"}, {3073, L"ar-EG"}, {3076, L"zh-HK"}, {3079, L"de-AT"}, {3081, L"en-AU"},
    {3082, L"es-ES"}, {3084, L"fr-CA"}, {3098, L"sr-Cyrl-CS"}, {3131, L"se-FI"}, {3179, L"quz-PE"},
    {4097, L"ar-LY"}, {4100, L"zh-SG"}, {4103, L"de-LU"}, {4105, L"en-CA"}, {4106, L"es-GT"}, {4108, L"fr-CH"},
    {4122, L"hr-BA"}, {4155, L"smj-NO"}, {4191, L"tzm-Tfng-MA"}, {5121, L"ar-DZ"}, {5124, L"zh-MO"},
    {5127, L"de-LI"}, {5129, L"en-NZ"}, {5130, L"es-CR"}, {5132, L"fr-LU"}, {5146, L"bs-Latn-BA"},
    {5179, L"smj-SE"}, {6145, L"ar-MA"}, {6153, L"en-IE"}, {6154, L"es-PA"}, {6156, L"fr-MC"},
    {6170, L"sr-Latn-BA"}, {6203, L"sma-NO"}, {7169, L"ar-TN"}, {7177, L"en-ZA"}, {7178, L"es-DO"},
    {7194, L"sr-Cyrl-BA"}, {7227, L"sma-SE"}, {8193, L"ar-OM"}, {8201, L"en-JM"}, {8202, L"es-VE"},
    {8218, L"bs-Cyrl-BA"}, {8251, L"sms-FI"}, {9217, L"ar-YE"}, {9225, L"en-029"}, {9226, L"es-CO"},
    {9242, L"sr-Latn-RS"}, {9275, L"smn-FI"}, {10241, L"ar-SY"}, {10249, L"en-BZ"}, {10250, L"es-PE"},
    {10266, L"sr-Cyrl-RS"}, {11265, L"ar-JO"}, {11273, L"en-TT"}, {11274, L"es-AR"}, {11290, L"sr-Latn-ME"},
    {12289, L"ar-LB"}, {12297, L"en-ZW"}, {12298, L"es-EC"}, {12314, L"sr-Cyrl-ME"}, {13313, L"ar-KW"},
    {13321, L"en-PH"}, {13322, L"es-CL"}, {14337, L"ar-AE"}, {14346, L"es-UY"}, {15361, L"ar-BH"},
    {15370, L"es-PY"}, {16385, L"ar-QA"}, {16393, L"en-IN"}, {16394, L"es-BO"}, {17417, L"en-MY"},
    {17418, L"es-SV"}, {18441, L"en-SG"}, {18442, L"es-HN"}, {19466, L"es-NI"}, {20490, L"es-PR"},
    {21514, L"es-US"}, {25626, L"bs-Cyrl"}, {26650, L"bs-Latn"}, {27674, L"sr-Cyrl"}, {28698, L"sr-Latn"},
    {28731, L"smn"}, {29740, L"az-Cyrl"}, {29755, L"sms"}, {30724, L"zh"}, {30740, L"nn"}, {30746, L"bs"},
    {30764, L"az-Latn"}, {30779, L"sma"}, {30787, L"uz-Cyrl"}, {30800, L"mn-Cyrl"}, {30813, L"iu-Cans"},
    {30815, L"tzm-Tfng"}, {31748, L"zh-Hant"}, {31764, L"nb"}, {31770, L"sr"}, {31784, L"tg-Cyrl"},
    {31790, L"dsb"}, {31803, L"smj"}, {31811, L"uz-Latn"}, {31814, L"pa-Arab"}, {31824, L"mn-Mong"},
    {31833, L"sd-Arab"}, {31836, L"chr-Cher"}, {31837, L"iu-Latn"}, {31839, L"tzm-Latn"}, {31847, L"ff-Latn"},
    {31848, L"ha-Latn"}, {31890, L"ku-Arab"},
};
static_assert(std::size(CultureNameTable) == 376);

TdxCultureNameDictionary* GCultureNames = nullptr;

}  // namespace

void TdxCultureNameDictionary::Add(int AKey, const String& AValue) {
  if (!FItems.emplace(AKey, AValue).second) throw EListError(L"Duplikate nicht zulässig");
}

bool TdxCultureNameDictionary::TryGetValue(int AKey, String& AValue) const {
  const auto found = FItems.find(AKey);
  if (found == FItems.end()) return false;
  AValue = found->second;
  return true;
}

TdxCultureNameDictionary* CultureNames() { return GCultureNames; }

void RegisterCultureNames() {
  TOwned<TdxCultureNameDictionary> names(New<TdxCultureNameDictionary>());
  for (const TdxCultureNameEntry& entry : CultureNameTable) names->Add(entry.Key, entry.Name);
  FreeCultureNames();
  GCultureNames = names.release();
}

void FreeCultureNames() { FreeAndNil(GCultureNames); }

void dxCultureInfoInitialization() { RegisterCultureNames(); }
void dxCultureInfoFinalization() { FreeCultureNames(); }
