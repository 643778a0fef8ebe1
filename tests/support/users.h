// Another user for tests of permissions: the tests run as root, who may write anything,
// so a test that needs a refusal drops its effective user and groups for a while.
#pragma once
#include <grp.h>
#include <unistd.h>

#include <vector>

// The user the tests become: nobody, whose own group is nogroup.
inline constexpr uid_t OtherUid = 65534;
inline constexpr gid_t OtherGid = 65534;

// For its lifetime the process's effective user is OtherUid, its effective group
// OtherGid and its supplementary groups `groups`; root's come back afterwards. ok is
// false when the process is not root and cannot switch (the caller then skips).
class AsOtherUser {
 public:
  explicit AsOtherUser(const std::vector<gid_t>& groups = {}) {
    ok = geteuid() == 0 && setgroups(groups.size(), groups.data()) == 0 && setegid(OtherGid) == 0 &&
         seteuid(OtherUid) == 0;
  }
  ~AsOtherUser() {
    if (seteuid(0) == 0 && setegid(0) == 0) setgroups(0, nullptr);
  }
  AsOtherUser(const AsOtherUser&) = delete;
  AsOtherUser& operator=(const AsOtherUser&) = delete;
  bool ok;
};
