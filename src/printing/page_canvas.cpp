#include "printing/page_canvas.h"

namespace ohmara {

namespace {
constexpr double kSheetWidthMm = 210;
constexpr double kSheetHeightMm = 297;
}  // namespace

PageScale::PageScale(const PageSize& page)
    : pageWidth_(page.width), dotsPerMmX_(page.width / kSheetWidthMm), dotsPerMmY_(page.height / kSheetHeightMm) {}

int PageScale::X(double mm) const { return static_cast<int>(mm * dotsPerMmX_); }

int PageScale::Y(double mm) const { return static_cast<int>(mm * dotsPerMmY_); }

PixelPoint PageScale::ToDevice(const MmPoint& point) const { return {X(point.x), Y(point.y)}; }

bool IsPortrait(const PageSize& page) { return page.height >= page.width; }

}  // namespace ohmara
