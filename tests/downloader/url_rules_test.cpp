#include "url_rules.h"

#include <gtest/gtest.h>

namespace downloader {
namespace {

TEST(UrlRulesTest, PlainHttpOnlyBetweenLoopbackAddresses) {
    struct Case {
        const char* url;
        const char* redirectedFrom;
        bool allowed;
    };
    for (const Case& c : {
             Case{"https://updates.example/v.txt", "", true},
             Case{"http://127.0.0.1:8000/v.txt", "", true},
             Case{"http://[::1]/v.txt", "", true},
             Case{"http://localhost/v.txt", "", true},
             Case{"http://192.0.2.1/v.txt", "", false},
             Case{"http://updates.example/v.txt", "", false},
             Case{"https://updates.invalid/v.txt", "", false},
             Case{"http://127.0.0.1/v.txt", "http://127.0.0.2/v.txt", true},
             Case{"http://127.0.0.1/v.txt", "https://127.0.0.1/v.txt", false},
             Case{"http://127.0.0.1/v.txt", "https://updates.example/v.txt", false},
             Case{"https://updates.example/v.txt", "http://127.0.0.1/v.txt", true},
         }) {
        EXPECT_EQ(!refusalReason(c.url, c.redirectedFrom), c.allowed)
            << c.url << " from " << c.redirectedFrom;
    }
}

}  // namespace
}  // namespace downloader
