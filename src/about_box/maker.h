#pragma once

#include <string_view>

namespace dv::maker {

// Who made Dayvane and how to reach them. A build may set its own with
// -DDAYVANE_CONTACT_EMAIL=... and -DDAYVANE_WEB_SITE=... at configure time.
std::string_view contactEmail();
std::string_view webSite();  // a full address, scheme included

}  // namespace dv::maker
