// Native side of the locale seam: the texts of a Japanese system, which the program addresses.
#include "classlib/otkDateFormat.h"

namespace nw {

DateFormatLocale SystemDateFormatLocale() { return DateFormatLocale{}; }

}  // namespace nw
