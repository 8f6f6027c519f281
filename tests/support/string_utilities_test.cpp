#include <fwcommon/StringUtilities.h>

#include <cerrno>
#include <clocale>
#include <locale>
#include <ostream>
#include <stdexcept>
#include <string>

#include <fwcommon/CustomTCodeCvtWcharToChar.h>
#include <gtest/gtest.h>

#include "common/Thrown.h"

namespace fwcommon {
namespace {

const std::locale& Utf8() {
    static const std::locale locale("C.UTF-8");
    return locale;
}

// The C locale: ASCII, one byte per character.
const std::locale& Ascii() {
    return std::locale::classic();
}

struct JoinCase {
    const char* function;
    std::string details;
    std::uint32_t code;
    std::string expected;
};

TEST(StringUtilitiesTest, GetErrorStringJoinsWithOneFullStop) {
    const JoinCase cases[] = {
        {"fwcommon::IpAddressNamedObjectItem::GetParam", "Invalid parameter name", 0,
         "fwcommon::IpAddressNamedObjectItem::GetParam.Invalid parameter name"},
        {"", "Details alone", 0, "Details alone"},
        {nullptr, "Details alone", 0, "Details alone"},
        {"fwcommon::Context::GetRules", "", 0, "fwcommon::Context::GetRules."},
        {"fwcommon::Rule::GetCondition", ". Unsupported type", 0,
         "fwcommon::Rule::GetCondition.. Unsupported type"},
        {"f", "open failed: ", ENOENT, "f.open failed: No such file or directory"},
        {"", "", EACCES, "Permission denied"},
        {"f", "unknown code", 987654, "f.unknown code"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StringUtilities::GetErrorString(c.function, c.details, c.code), c.expected)
            << "function=" << (c.function ? c.function : "(null)") << " details=" << c.details;
    }
}

TEST(StringUtilitiesTest, GetErrorStringWideDetailsAreConvertedUnderTheDefaultLocale) {
    EXPECT_EQ(StringUtilities::GetErrorString("fwcommon::Context::GetRules",
                                              std::wstring(L"Dataname not found")),
              "fwcommon::Context::GetRules.Dataname not found");
    // The tests run under the C locale, whose default text is UTF-8.
    EXPECT_EQ(StringUtilities::GetErrorString("f", std::wstring(L"'R\u00e9seau'")),
              "f.'R\xC3\xA9seau'");
    EXPECT_EQ(StringUtilities::GetErrorString("", std::wstring(L"x"), ENOENT),
              "xNo such file or directory");
}

TEST(StringUtilitiesTest, UserDefaultLocaleUnderCUsesUtf8) {
    std::string narrow;
    StringUtilities::WideStringToMultiByteString(L"\u00e9\u4e2d", narrow);
    EXPECT_EQ(narrow, "\xC3\xA9\xE4\xB8\xAD");
    std::wstring wide;
    StringUtilities::MultiByteStringToWideString("\xC3\xA9\xE4\xB8\xAD", wide);
    EXPECT_EQ(wide, L"\u00e9\u4e2d");
}

struct NarrowCase {
    const char* name;
    const std::locale* locale;
    std::string in;
    std::wstring expected;
};

TEST(StringUtilitiesTest, MultiByteStringToWideString) {
    const NarrowCase cases[] = {
        {"ascii text", &Ascii(), "Rule 1", L"Rule 1"},
        {"byte outside ASCII: whole result replaced", &Ascii(),
         "ab\xE9"
         "cd",
         L"?????"},
        {"utf-8 text", &Utf8(), "\xC3\xA9t\xC3\xA9", L"\u00e9t\u00e9"},
        {"invalid utf-8 byte", &Utf8(), "ok\xFFok", L"?????"},
        {"sequence cut off at the end", &Utf8(), "ab\xC3", L"???"},
        {"sequence cut off in the middle", &Utf8(), "\xC3z", L"??"},
        {"empty", &Utf8(), "", L""},
    };
    for (const auto& c : cases) {
        std::wstring out = L"previous";
        StringUtilities::MultiByteStringToWideString(c.in, out, *c.locale);
        EXPECT_EQ(out, c.expected) << "case: " << c.name;
    }
}

struct WideCase {
    const char* name;
    const std::locale* locale;
    std::wstring in;
    std::string expected;
};

TEST(StringUtilitiesTest, WideStringToMultiByteString) {
    const std::string sixMarks(6, '?');  // glibc's maximum bytes per UTF-8 character
    const WideCase cases[] = {
        {"ascii text", &Ascii(), L"Rule 1", "Rule 1"},
        {"one character the set lacks", &Ascii(), L"caf\u00e9 au lait", "caf? au lait"},
        {"two characters the set lacks", &Ascii(), L"\u00e9t\u00e9", "?t?"},
        {"utf-8 text", &Utf8(), L"\u00e9t\u00e9 \u4e2d", "\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD"},
        {"lone surrogate", &Utf8(), std::wstring(L"a") + wchar_t(0xD800) + L"b",
         "a" + sixMarks + "b"},
        {"empty", &Utf8(), L"", ""},
    };
    for (const auto& c : cases) {
        std::string out = "previous";
        StringUtilities::WideStringToMultiByteString(c.in, out, *c.locale);
        EXPECT_EQ(out, c.expected) << "case: " << c.name;
    }
}

// The locales a conversion could change behind the caller's back: the
// program's global C++ locale, the C library's global locale and the
// calling thread's own locale.
struct LocaleState {
    std::string global;
    std::string c;
    locale_t thread;
    bool operator==(const LocaleState& o) const {
        return global == o.global && c == o.c && thread == o.thread;
    }
};
LocaleState CurrentLocales() {
    return {std::locale().name(), std::setlocale(LC_ALL, nullptr), uselocale(locale_t(0))};
}
std::ostream& operator<<(std::ostream& out, const LocaleState& s) {
    return out << "global " << s.global << ", C " << s.c << ", thread "
               << (s.thread == LC_GLOBAL_LOCALE ? "global" : "its own");
}

TEST(StringUtilitiesTest, CallersLocalesAreNotChanged) {
    const std::locale saved = std::locale::global(std::locale::classic());
    const std::locale* const others[] = {&Utf8(), &Ascii()};
    for (const char* global : {"C", "C.UTF-8"}) {
        std::locale::global(std::locale(global));
        const LocaleState before = CurrentLocales();
        for (const std::locale* other : others) {
            std::string out;
            StringUtilities::WideStringToMultiByteString(L"\u00e9t\u00e9", out, *other);
            StringUtilities::WideStringToMultiByteString(L"", out, *other);
            EXPECT_EQ(before, CurrentLocales())
                << "global " << global << ", converting with " << other->name();
        }
        EXPECT_FALSE(std::has_facet<tools2::CustomTCodeCvtWcharToChar>(std::locale()));
    }
    std::locale::global(saved);
}

TEST(StringUtilitiesTest, CombinedLocaleNameUsesItsCharacterCategory) {
    const std::locale combined(Ascii(), Utf8(), std::locale::ctype);
    ASSERT_NE(combined.name().find("LC_CTYPE=C.UTF-8"), std::string::npos) << combined.name();
    std::string out;
    StringUtilities::WideStringToMultiByteString(L"\u00e9", out, combined);
    EXPECT_EQ(out, "\xC3\xA9");
}

TEST(StringUtilitiesTest, FacetReportsTheLocalesCharacterSettings) {
    const tools2::CustomTCodeCvtWcharToChar* ascii = nullptr;
    std::locale withAscii(Ascii(), ascii = new tools2::CustomTCodeCvtWcharToChar("C"));
    EXPECT_EQ(ascii->LocaleName(), "C");
    EXPECT_EQ(ascii->max_length(), 1);
    const tools2::CustomTCodeCvtWcharToChar* utf8 = nullptr;
    std::locale withUtf8(Ascii(), utf8 = new tools2::CustomTCodeCvtWcharToChar("C.UTF-8"));
    EXPECT_EQ(utf8->Codeset(), "UTF-8");
    EXPECT_GT(utf8->max_length(), 1);
}

TEST(StringUtilitiesTest, FacetRefusesALocaleThatIsNotInstalled) {
    EXPECT_THROW(std::locale(Ascii(), new tools2::CustomTCodeCvtWcharToChar("xx_NOWHERE.UTF-8")),
                 std::runtime_error);
}

TEST(StringUtilitiesTest, GetSystemTypeRoundTripsAllFifteen) {
    const wchar_t* texts[] = {L"BroadCast",       L"LocalHost",        L"OtherHost",
                              L"AllCoordinators", L"AllClients",       L"TunneledIP",
                              L"InternetGateway", L"Multicast",        L"All",
                              L"MyNetwork",       L"OtherNetwork",     L"MyVPN",
                              L"OtherVPN",        L"PrivateNetworkIP", L"InternetIP"};
    ASSERT_EQ(std::size(texts), static_cast<std::size_t>(kSystemObjectTypeCount));
    for (std::int32_t value = 0; value < kSystemObjectTypeCount; ++value) {
        const auto type = static_cast<SystemObjectTypes>(value);
        EXPECT_EQ(StringUtilities::GetSystemType(type), texts[value]) << "value " << value;
        EXPECT_EQ(StringUtilities::GetSystemType(std::wstring(texts[value])), type)
            << "value " << value;
    }
}

TEST(StringUtilitiesTest, GetSystemTypeRejectsUnknownTextsAndValuesOutOfRange) {
    for (const wchar_t* text : {L"broadcast", L"BROADCAST", L"broadCast", L"", L"BroadCast "}) {
        EXPECT_EQ(
            "Application function: NamedObject::GetSystemType. Details: An unknown named "
            "object type.",
            test::Thrown<std::runtime_error>(
                [&] { StringUtilities::GetSystemType(std::wstring(text)); }))
            << testing::PrintToString(std::wstring(text));
    }
    for (std::int32_t value : {-1, 15}) {
        EXPECT_EQ("fwcommon::StringUtilities::GetSystemType.System object type out of range",
                  test::Thrown<std::out_of_range>([&] {
                      StringUtilities::GetSystemType(static_cast<SystemObjectTypes>(value));
                  }))
            << value;
    }
}

}  // namespace
}  // namespace fwcommon
