// The photo-finish camera's result file (".lif"): comma-separated text, one
// heat a file. The first line that is not blank is the heat's header:
//
//   event,round,heat,name,wind[,anything further]
//
// then one line per athlete:
//
//   place,id,lane,last name,first name,affiliation,time[,anything further]
//
// where place is a number (equal numbers are ties) or DNS, DNF or DQ (DSQ
// reads as DQ), id is the athlete's entry number as the start list gave it
// to the camera, and time is seconds with up to three decimals, optionally
// after minutes and hours ("10.234", "1:02.34", "1:02:03.456"). Blank lines
// are skipped; a field may be quoted with double quotes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "automation/text.h"

namespace arenix::timing {

using automation::Text;
using automation::TextView;

enum class LifStatus { kFinished, kDidNotStart, kDidNotFinish, kDisqualified };

/// "DNS", "DNF", "DQ"; empty for a finisher.
Text StatusCode(LifStatus status);

struct LifHeader {
  int event = 0;
  int round = 0;
  int heat = 0;
  Text name;
  Text wind;                 // as written, trimmed
  std::optional<double> wind_mps;  // when `wind` reads as a number
};

struct LifAthlete {
  int line = 0;   // in the file, from 1
  int place = 0;  // 0: none given
  LifStatus status = LifStatus::kFinished;
  Text id;
  int lane = 0;   // 0: none given
  Text last_name, first_name, affiliation;
  Text time_text;                    // as written, trimmed
  std::optional<int64_t> thousandths;  // the time, when one is given
};

struct LifFile {
  LifHeader header;
  std::vector<LifAthlete> athletes;
};

/// A file read, or why it could not be: `error` names the line and what is
/// wrong with it.
struct LifParse {
  std::optional<LifFile> file;
  Text error;
};

/// Reads a file's text (already decoded).
LifParse ParseLif(TextView text);

/// The text of a file's bytes: UTF-8 when they are valid UTF-8 (a byte
/// order mark is dropped), code page 936 otherwise, which is what camera
/// software on a Chinese Windows writes.
Text DecodeTimingBytes(std::string_view bytes);

/// A time in thousandths as a result in hundredths. The rules of athletics
/// round a time read to thousandths UP to the next hundredth (10.231 is
/// 10.24, 10.230 stays 10.23), never to the nearest.
int64_t HundredthsOf(int64_t thousandths);

/// "10.234" -> 10234, "1:02.3" -> 62300; nothing for text that is not a
/// time (negative, letters, a seconds or minutes part of 60 or more after a
/// larger unit, more than three decimals).
std::optional<int64_t> ParseTimeThousandths(TextView text);

}  // namespace arenix::timing
