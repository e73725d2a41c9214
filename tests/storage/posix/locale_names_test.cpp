// The decimal separator on Linux: the locale that the environment names.
#include "platform/posix/locale_names.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace enlazor {
namespace {

TEST(DecimalSeparator, FollowsTheLanguageOfTheLocaleName) {
    const struct {
        const char* name;
        char separator;
    } cases[] = {
        {"es_ES.UTF-8", ','}, {"es", ','},          {"ca_ES@valencia", ','}, {"fr_FR", ','},
        {"de_DE.utf8", ','},  {"it_IT", ','},       {"pt_BR.UTF-8", ','},    {"gl_ES", ','},
        {"eu_ES", ','},       {"nl_NL", ','},       {"en_US.UTF-8", '.'},    {"en_GB", '.'},
        {"C", '.'},           {"POSIX", '.'},       {"C.UTF-8", '.'},        {"", '.'},
        {"zz_ZZ", '.'},       {"../../es_ES", '.'}, {"es/../../x", '.'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decimal_separator_for_locale_name(c.name), c.separator);
    }
}

// Sets the three locale variables for one test and restores them after.
class LocaleEnvironment {
public:
    LocaleEnvironment(const char* all, const char* numeric, const char* lang) {
        for (int i = 0; i < 3; ++i) {
            const char* old = std::getenv(names_[i]);
            saved_[i] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        set(names_[0], all);
        set(names_[1], numeric);
        set(names_[2], lang);
    }
    ~LocaleEnvironment() {
        for (int i = 0; i < 3; ++i)
            set(names_[i], saved_[i] ? saved_[i]->c_str() : nullptr);
    }
    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

private:
    static void set(const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    const char* names_[3] = {"LC_ALL", "LC_NUMERIC", "LANG"};
    std::optional<std::string> saved_[3];
};

TEST(DecimalSeparator, FirstNonEmptyOfLcAllLcNumericAndLang) {
    const struct {
        const char* all;
        const char* numeric;
        const char* lang;
        char separator;
    } cases[] = {
        {"es_ES", "en_US", "en_US", ','},
        {"", "es_ES", "en_US", ','},
        {nullptr, "en_US", "es_ES", '.'},
        {nullptr, nullptr, "fr_FR", ','},
        {"", "", "", '.'},
        {nullptr, nullptr, nullptr, '.'},
    };
    for (const auto& c : cases) {
        LocaleEnvironment environment(c.all, c.numeric, c.lang);
        EXPECT_EQ(decimal_separator_from_environment(), c.separator)
            << (c.all ? c.all : "-") << " " << (c.numeric ? c.numeric : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

} // namespace
} // namespace enlazor
