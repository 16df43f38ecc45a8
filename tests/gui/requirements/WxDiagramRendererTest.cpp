// The diagram renderer's drawing rules on a wxGraphicsContext.
#include "requirements/WxDiagramRenderer.h"

#include <gtest/gtest.h>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <functional>
#include <memory>

namespace {

TEST(RendererRules, ColourComponentsTruncateToBytes)
{
    struct Case {
        double component;
        int byte;
    };
    const Case cases[] = {{0.59, 150}, {0.0, 0}, {1.0, 255}, {0.999, 254}, {-0.5, 0}, {7.0, 255}};
    for (const Case& c : cases)
        EXPECT_EQ(colourByte(c.component), c.byte) << c.component;
    const wxColour colour = toColour({0.0, 0.59, 0.51});
    EXPECT_EQ(colour, wxColour(0, 150, 130, 255));
}

TEST(RendererRules, RectanglePenFollowsWidthAndDashKind)
{
    struct Case {
        double width;
        int dash;
        int penWidth;
        wxPenStyle style;
    };
    const Case cases[] = {
        {2.7, 3, 2, wxPENSTYLE_DOT_DASH},
        {2.7, 2, 2, wxPENSTYLE_DOT_DASH},
        {1.0, 1, 1, wxPENSTYLE_DOT},
        {1.0, 0, 1, wxPENSTYLE_SOLID},
        {3.9, 4, 3, wxPENSTYLE_SOLID},
        {1.0, -1, 1, wxPENSTYLE_SOLID},
    };
    for (const Case& c : cases) {
        diagram::ShapeStyle style;
        style.width = c.width;
        style.dash = c.dash;
        style.stroke = {0.59, 0.0, 1.0};
        const wxPen pen = rectPen(style);
        EXPECT_EQ(pen.GetWidth(), c.penWidth) << "width " << c.width << ", dash " << c.dash;
        EXPECT_EQ(pen.GetStyle(), c.style) << "width " << c.width << ", dash " << c.dash;
        EXPECT_EQ(pen.GetColour(), wxColour(150, 0, 255));
    }
}

class RendererDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "Renderer");
        frame->SetClientSize(200, 100);
        renderer = std::make_unique<WxDiagramRenderer>(frame);
    }
    void TearDown() override { frame->Destroy(); }

    // Runs the drawing on a bitmap of the frame's client size, filled black
    // first so that what the renderer paints shows.
    wxImage drawn(const std::function<void()>& draw)
    {
        wxBitmap bitmap(frame->GetClientSize());
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxBLACK_BRUSH);
            dc.Clear();
            std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(dc));
            renderer->context = context.get();
            draw();
            renderer->context = nullptr;
        }
        return bitmap.ConvertToImage();
    }

    static wxColour at(const wxImage& image, int x, int y)
    {
        return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
    }

    wxFrame* frame = nullptr;
    std::unique_ptr<WxDiagramRenderer> renderer;
};

TEST_F(RendererDrawing, OutsideAPaintNothingIsDrawnOrMeasured)
{
    EXPECT_EQ(renderer->getTextExtent("Kitchen", 12), std::make_pair(0.0, 0.0));
    renderer->clear();
    renderer->drawRect({0, 0}, {10, 10}, {});
    renderer->drawLine({0, 0}, {10, 10}, {});
    renderer->drawCircle({5, 5}, 3);
    renderer->drawText("Kitchen", 12, {0, 20});
}

TEST_F(RendererDrawing, ClearFillsTheWindowWhite)
{
    const wxImage image = drawn([&] { renderer->clear(); });
    EXPECT_EQ(at(image, 100, 50), *wxWHITE);
    EXPECT_EQ(at(image, 198, 98), *wxWHITE);
}

TEST_F(RendererDrawing, FilledRectangleTakesTheFillColour)
{
    diagram::ShapeStyle style;
    style.fill = {0.0, 0.59, 0.51};
    style.stroke = {0.0, 0.0, 0.0};
    style.filled = true;
    const wxImage image = drawn([&] { renderer->drawRect({20, 20}, {60, 40}, style); });
    EXPECT_EQ(at(image, 50, 40), wxColour(0, 150, 130));
    EXPECT_EQ(at(image, 150, 40), *wxBLACK);

    style.filled = false;
    style.stroke = {1.0, 1.0, 1.0};
    const wxImage open = drawn([&] { renderer->drawRect({20, 20}, {60, 40}, style); });
    EXPECT_EQ(at(open, 50, 40), *wxBLACK);
}

TEST_F(RendererDrawing, TextSitsAboveItsLowerLeftCorner)
{
    const wxImage image = drawn([&] {
        renderer->clear();
        const auto extent = renderer->getTextExtent("WWWW", 12);
        EXPECT_GT(extent.first, 0.0);
        EXPECT_GT(extent.second, 0.0);
        renderer->drawText("WWWW", 12, {10, 60});
    });
    int inkAbove = 0, inkBelow = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (image.GetRed(x, y) < 128)
                ++(y < 60 ? inkAbove : inkBelow);
    EXPECT_GT(inkAbove, 0);
    EXPECT_EQ(inkBelow, 0);
}

} // namespace
