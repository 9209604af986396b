#pragma once

#include "foundation/JSONDecoder.h"
#include "foundation/JSONEncoder.h"

// JSON coders that write every date as ISO 8601 text with milliseconds in GMT
// ("2024-03-05T14:07:09.123+0000") and read it with or without the milliseconds.
//
// Reading a date that is not text is a typeMismatch; text that is no such date is
// dataCorrupted with the message "Invalid date: " and the text. Writing a date that has no such
// text (not finite, before Date::distantPast(), or millions of years away) is an EncodingError
// (invalidValue).
// The two date strategies are made once, at first use; each call makes a new coder.
namespace ViewKit {

foundation::JSONDecoder iso8601DateDecoder();
foundation::JSONEncoder iso8601DateEncoder();

} // namespace ViewKit
