// The sample meet's recorder accounts for online result entry: who may log
// in at the track, with which password, and for which events.
#pragma once

#include <string>

#include "arenix/meet/demo/demo_meet.h"

namespace arenix::meet::demo {

/// Writes table WldfUser (用户名, 密码 (left empty: the site's accounts
/// hold the passwords), 姓名, 登分项目: the events, comma-separated) into
/// `dir`.
WrittenTable WriteRecorderTable(const std::string& dir, bool overwrite);

}  // namespace arenix::meet::demo
