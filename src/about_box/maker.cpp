#include "maker.h"

// The project's own addresses, unless the build configures others. The
// reserved ".example" domain cannot reach a stranger by mistake.
#ifndef DAYVANE_CONTACT_EMAIL
#define DAYVANE_CONTACT_EMAIL "contact@dayvane.example"
#endif
#ifndef DAYVANE_WEB_SITE
#define DAYVANE_WEB_SITE "https://www.dayvane.example/"
#endif

namespace dv::maker {

std::string_view contactEmail() { return DAYVANE_CONTACT_EMAIL; }
std::string_view webSite() { return DAYVANE_WEB_SITE; }

}  // namespace dv::maker
