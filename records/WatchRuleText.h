// WatchRuleText.h: one watch rule as the value of its key in the INI file, and back.
#pragma once

#include <string>

#include "records/WatchRule.h"

namespace records {

// The rule's fields as "name=value" pairs joined by ';', always in the same order:
// "name=LINK-DOWN;show=link down;hide=;case=0;severity=any;...;beep=0". Plain
// ASCII: a text's bytes that would end a field, or would not come back from the
// file as they went, are written %XX, and a host's or app's ',' as well, since
// ',' separates them. The hosts' and apps' fields ("hosts=fw1,sw2;hidehosts=0",
// "apps=...;hideapps=1") are written only when the rule sets them, so a rule
// without them reads and writes as rules did before they came. May throw
// std::bad_alloc.
std::wstring WatchRuleText(const WatchRule& rule);

// Reads a value written as above, its fields in any order, each at most once
// and each but the hosts' and apps' exactly once. True with the rule read;
// false with a short English reason in why, and the rule unchanged. May throw
// std::bad_alloc.
bool ReadWatchRuleText(const std::wstring& text, WatchRule& rule, std::wstring& why);

}  // namespace records
