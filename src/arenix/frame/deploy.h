// Deployment of library files that the component carries as resources: at
// construction each name of a "|"-separated list that is missing from the
// system folder is written there from the resource of that name and, for a
// ".dll", a registration command is started without waiting for it. Every
// failure is ignored; construction never fails because of deployment.
//
// The component's own list is empty: the archive library it needs is linked
// in. The mechanism stays, driven through DeployHost, for lists that name
// files to ship.
#pragma once

#include <optional>
#include <string>

#include "automation/text.h"

namespace arenix::frame {

using automation::Text;
using automation::TextView;

/// The list ArenixCls deploys at construction.
inline constexpr char16_t kDeploymentList[] = u"";

/// What deployment needs from the platform; tests supply their own.
class DeployHost {
 public:
  virtual ~DeployHost() = default;
  /// The operating system's folder for shared libraries.
  virtual Text SystemFolder() = 0;
  virtual bool FileExists(TextView path) = 0;
  /// The bytes of a "CUSTOM" resource of the component (name in upper case).
  virtual std::optional<std::string> Resource(TextView name) = 0;
  /// Writes a new file; false when it exists or cannot be written.
  virtual bool WriteNewFile(TextView path, std::string_view bytes) = 0;
  /// Starts a command line as a separate process without waiting.
  virtual void StartDetached(TextView command_line) = 0;
};

/// The real platform: the system folder is $ARENIX_SYSTEM_FOLDER or
/// "/usr/local/lib/arenix"; resources are the component's embedded ones.
DeployHost& SystemDeployHost();

/// Deploys each name of the list, in order (see the file comment).
void DeployLibraries(TextView list, DeployHost& host);

/// Writes a resource to a path (resource extraction): false when the file
/// exists and `overwrite` is false, or when it cannot be replaced or written.
bool ExtractResource(TextView path, TextView resource_name, bool overwrite, DeployHost& host);

}  // namespace arenix::frame
