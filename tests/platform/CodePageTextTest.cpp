// Code-page text and UTF-8 text cannot stand in for each other: each check below fails to compile
// when a conversion creeps in that lets one be passed where the other is meant.

#include <string>
#include <string_view>
#include <type_traits>

#include "platform/CodePageText.h"
#include "platform/Drives.h"
#include "platform/ProgramFiles.h"
#include "platform/SystemIdentity.h"
#include "platform/TextLocale.h"

namespace {

using namespace zelvo::platform;

static_assert(!std::is_convertible_v<std::string, CodePageText>);
static_assert(!std::is_convertible_v<const char*, CodePageText>);
static_assert(!std::is_convertible_v<CodePageText, std::string>);
static_assert(!std::is_convertible_v<CodePageText, std::string_view>);

// UTF-8 handed to a call that takes the machine's code page, and the other way round.
static_assert(!std::is_invocable_v<decltype(&TextLocale::toUtf8), const TextLocale&, std::string>);
static_assert(!std::is_invocable_v<decltype(&TextLocale::fromUtf8), const TextLocale&, CodePageText>);
static_assert(!std::is_invocable_v<decltype(&SystemIdentity::setComputerName), SystemIdentity&, std::string>);
static_assert(!std::is_invocable_v<decltype(&ProgramFiles::createDirectory), ProgramFiles&, std::string>);
// What a call answers is code-page text, not UTF-8.
static_assert(!std::is_assignable_v<std::string&, decltype(VolumeInformation::label)>);

// The named conversions are the way across.
static_assert(std::is_invocable_r_v<std::string, decltype(&TextLocale::toUtf8), const TextLocale&, CodePageText>);
static_assert(std::is_invocable_r_v<CodePageText, decltype(&TextLocale::fromUtf8), const TextLocale&, std::string>);

}  // namespace
