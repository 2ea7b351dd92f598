// The check `arenix serve --data DIR` makes before it starts: every meet
// table is present, readable and writable by the server's user, with its
// memo file and its structural index where the table's header calls for
// them, so that a broken folder is reported in full at start instead of by
// the first page that touches it.
#pragma once

#include <string>
#include <vector>

namespace tools {

/// One line per problem found in the meet folder `dir` ("Play.dbf: missing",
/// "Item.fpt: cannot be written (permission denied)" ...); empty when the
/// folder is fit to serve.
std::vector<std::string> CheckMeetFolder(const std::string& dir);

}  // namespace tools
