#include "diagram/Graph.h"

#include "diagram/Renderer.h"

#include <algorithm>
#include <cmath>

namespace diagram {
namespace {

// Text follows the zoom, but never vanishes below one point.
int scaledPointSize(int pointSize, double scale)
{
    return std::max(1, static_cast<int>(std::lround(pointSize * scale)));
}

} // namespace

Size Label::measure(Renderer& renderer, double scale) const
{
    const auto [width, height] = renderer.getTextExtent(text, scaledPointSize(pointSize, scale));
    return {width, height};
}

void Label::draw(Renderer& renderer, const Point& topLeft, double scale) const
{
    const int size = scaledPointSize(pointSize, scale);
    const auto extent = renderer.getTextExtent(text, size);
    renderer.drawText(text, size, {topLeft.x, topLeft.y + extent.second});
}

std::shared_ptr<Widget> WidgetFactory::createLabel(const std::string& text, int size) const
{
    return std::make_shared<Label>(text, size);
}

std::shared_ptr<WidgetFactory> createWidgetFactory()
{
    return std::make_shared<WidgetFactory>();
}

} // namespace diagram
