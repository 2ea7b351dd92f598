// Dates in the forms the meet system passes around: compact "yyyymmdd" and
// "yyyymmddhhnnss" in the tables, "yyyy-mm-dd" on pages, "m/d/yyyy" for the
// data engine; time-stamped and random file names; the client's address;
// human-readable file sizes. "Now" is the runtime's clock (automation::Now),
// read once per call so that a result never mixes two instants.
#pragma once

#include <cstdint>

#include "automation/text.h"
#include "automation/variant.h"

namespace arenix::text {

using automation::Date;
using automation::Text;
using automation::TextView;
using automation::Variant;

/// 1900-10-10 00:00: passed to GetDate, it stands for "today".
inline constexpr Date kTodayMarker{284};

/// Compact date "yyyymmdd" of `d` (year as its plain decimal text), or of
/// today when `d` is kTodayMarker.
Text GetDate(Date d);

/// A numeric text read as compact date: "20240315" gives "2024-03-15"
/// (missing characters are simply absent); other text comes back trimmed.
Text PutDate(TextView s);

/// Compact date-time of now, "yyyymmddhhnnss".
Text GetDateTime();

/// A numeric compact date-time as "yyyy-mm-dd hh:nn:ss"; other text trimmed.
Text PutDateTime(TextView s);

/// A date text (today when blank) in the data engine's order, "m/d/yyyy";
/// a text that is not a date raises type mismatch (13).
Text DateVB2VFP(TextView s);

/// A data-engine date ("mm/dd/yyyy", weekday names such as "星期二" ignored)
/// as "yyyy-mm-dd"; a date without "/" comes back as it is; blank gives today.
Text DateVFP2VB(TextView s);

/// The client's address: the forwarded-for header when present, else the
/// remote address. `request` must hold a host::Request (else 424).
Text GetIp(const Variant& request);

/// A byte count with its unit: "1023B", "1.5K", "1M", "2.25G" (two
/// decimals at most, halves to even). Empty gives "0B"; non-numeric text
/// raises type mismatch (13).
Text GetFileSize(TextView byte_count);

/// "yyyymmddhhnnss" of now, the year padded to four digits.
Text FileGetTimeName();

/// The time name followed by six random digits (20 digits), extended with
/// "9"s to a longer `length` or cut to its last `length` digits; a
/// negative length raises 5.
Text FileGetRndName(int16_t length);

}  // namespace arenix::text
