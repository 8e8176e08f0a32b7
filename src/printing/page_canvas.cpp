#include "printing/page_canvas.h"

namespace ohmara {

PaperSize PaperOf(const PageSize& page) { return page.width > page.height ? kLandscapePaper : kPortraitPaper; }

PageScale::PageScale(const PageSize& page)
    : pageWidth_(page.width),
      paper_(PaperOf(page)),
      dotsPerMmX_(page.width / static_cast<double>(paper_.width)),
      dotsPerMmY_(page.height / static_cast<double>(paper_.height)) {}

int PageScale::X(double mm) const { return static_cast<int>(mm * dotsPerMmX_); }

int PageScale::Y(double mm) const { return static_cast<int>(mm * dotsPerMmY_); }

PixelPoint PageScale::ToDevice(const MmPoint& point) const { return {X(point.x), Y(point.y)}; }

}  // namespace ohmara
