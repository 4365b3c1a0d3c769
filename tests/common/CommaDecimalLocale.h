#pragma once
// Runs a test with the C library's locale set to one that writes numbers with
// a decimal comma, as a desktop set to German gives the program (Qt takes the
// locale from the environment at start-up). The locale is put back after the
// test. Where the locale is not installed the test is skipped, except in CI,
// whose install script provides it: there its absence is a failure, so the
// test cannot pass without having run.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

template <class Base = ::testing::Test> class TCommaDecimalLocaleTest : public Base {
protected:
    static constexpr const char* LocaleName = "de_DE.UTF-8";

    void SetUp() override
    {
        Base::SetUp();
        FSaved = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, LocaleName)) {
            // Proof that the C library now reads and writes "1,5".
            ASSERT_STREQ(std::localeconv()->decimal_point, ",");
            return;
        }
        const char* ci = std::getenv("CI");
        if (ci && std::strcmp(ci, "true") == 0)
            FAIL() << "the locale " << LocaleName << " is not installed (scripts/install-deps.sh generates it)";
        else
            GTEST_SKIP() << "the locale " << LocaleName << " is not installed: run scripts/install-deps.sh";
    }

    void TearDown() override
    {
        std::setlocale(LC_ALL, FSaved.c_str());
        Base::TearDown();
    }

private:
    std::string FSaved;
};
