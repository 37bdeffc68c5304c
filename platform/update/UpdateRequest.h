#pragma once

#include <cstddef>
#include <functional>
#include <string>

// One GET of a small text over http or https: connect within 10 s, all within 20 s, at
// most kUpdateAnswerLimit bytes, no redirects. True with the body of a 200 answer; else
// false with problem saying why (empty when stopped through stopRequested).
constexpr std::size_t kUpdateAnswerLimit = 16 * 1024;

bool FetchUpdateText(const std::string& url, const std::string& userAgent,
                     const std::function<bool()>& stopRequested, std::string& body,
                     std::string& problem);
