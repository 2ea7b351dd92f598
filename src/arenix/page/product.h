// The product title that page titles, the error page and the spreadsheet
// export show: the product name followed by its ownership notice.
#pragma once

namespace arenix {

/// The product name alone, as frames and footers show it.
inline constexpr char16_t kProductName[] = u"Meetora";

inline constexpr char16_t kProductTitle[] = u"Meetora[运动会管理系统 版权所有]";

}  // namespace arenix
