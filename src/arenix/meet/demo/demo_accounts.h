// The sample meet's site accounts and the desk's other tables: the
// organiser (admin / admin2025), the three recorders of WldfUser (jilu1 and
// jilu2 / 123456, zongcai / jilu2025, with their events), one account per
// delegation (dyzx 第一中学, dezx 第二中学, syzx 实验中学, ycxx 育才学校,
// wgyxx 外国语学校, tyydxx 体育运动学校; password 123456), two notices,
// and an empty audit log and team-staff table. Passwords are stored in the
// password store's salted, slow form only.
#pragma once

#include <string>
#include <vector>

#include "arenix/meet/demo/demo_meet.h"

namespace arenix::meet::demo {

/// Writes Account, AuditLog, Notice and TeamStaff into `dir`, replacing
/// them when `overwrite` is set.
std::vector<WrittenTable> WriteDeskTables(const std::string& dir, bool overwrite);

}  // namespace arenix::meet::demo
