// Orvel_Class_Zip: the component's private zip class, which packs files
// into a zip archive and unpacks zip (and rar) archives with the options
// the component fixes: relative paths kept, subfolders included, highest
// compression. It stands where the original drove its zip library; the
// archive work is platform/archive.h. Not creatable by pages.
//
// Paths are page texts, resolved through the site the object is made with
// (platform/site.h): an archive or folder outside it makes the operation
// fail.
#pragma once

#include <cstdint>

#include "automation/text.h"
#include "platform/site.h"

namespace arenix::file {

using automation::Text;
using automation::TextView;

class Orvel_Class_Zip {
 public:
  explicit Orvel_Class_Zip(platform::Site site) : site_(std::move(site)) {}

  /// Packs the "|"-separated masks under `base_path` into a new archive
  /// `zip_filename` (an existing one is deleted first); a non-blank
  /// password encrypts. True when the archive was written.
  bool CompressFile(TextView base_path, TextView files_list, TextView zip_filename,
                    TextView password);
  /// Unpacks `zip_filename` into `folder`. With `del_old_file` non-zero the
  /// folder is emptied first (errors ignored), or made when missing (one
  /// level: a missing parent raises 76). `file_list` ("|"-separated masks)
  /// limits what is unpacked. True when the archive was unpacked.
  bool UnCompressFile(TextView zip_filename, TextView folder, int16_t del_old_file,
                      TextView file_list, TextView password);

 private:
  platform::Site site_;
};

}  // namespace arenix::file
