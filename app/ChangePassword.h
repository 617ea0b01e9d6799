#pragma once
// The change-password command: the current password, then the new one twice. Failures are
// reported in a warning box and leave the stored password as it was.
namespace tolm {

void ChangePassword();

}  // namespace tolm
