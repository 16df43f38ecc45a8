#include "WxDiagramRenderer.h"

#include <wx/brush.h>
#include <wx/gdicmn.h>
#include <wx/graphics.h>
#include <wx/window.h>

#include <algorithm>
#include <cmath>

unsigned char colourByte(double component)
{
    // Out-of-range and NaN components are clamped rather than wrapped.
    const double scaled = component * 255.0;
    if (!(scaled > 0.0))
        return 0;
    return static_cast<unsigned char>(std::min(scaled, 255.0));
}

wxColour toColour(const diagram::Colour& colour)
{
    return wxColour(colourByte(colour.r), colourByte(colour.g), colourByte(colour.b), 255);
}

wxPenStyle penStyle(int dash)
{
    switch (dash) {
    case 1:
        return wxPENSTYLE_DOT;
    case 2:
    case 3:
        return wxPENSTYLE_DOT_DASH;
    default:
        return wxPENSTYLE_SOLID;
    }
}

wxPen rectPen(const diagram::ShapeStyle& style)
{
    const int width = std::isfinite(style.width) ? static_cast<int>(std::clamp(style.width, 0.0, 1000.0)) : 1;
    return wxPen(toColour(style.stroke), width, penStyle(style.dash));
}

WxDiagramRenderer::~WxDiagramRenderer() = default;

void WxDiagramRenderer::clear()
{
    if (!context || !window)
        return;
    const wxSize client = window->GetClientSize();
    context->SetBrush(wxBrush(*wxWHITE, wxBRUSHSTYLE_SOLID));
    context->DrawRectangle(0, 0, client.x, client.y);
}

void WxDiagramRenderer::drawLine(const diagram::Point& from, const diagram::Point& to, const diagram::ShapeStyle& style)
{
    if (!context)
        return;
    context->SetPen(wxPen(toColour(style.stroke), 1, wxPENSTYLE_SOLID));
    wxGraphicsPath path = context->CreatePath();
    path.MoveToPoint(from.x, from.y);
    path.AddLineToPoint(to.x, to.y);
    context->StrokePath(path);
}

void WxDiagramRenderer::drawCircle(const diagram::Point& centre, double radius)
{
    if (!context)
        return;
    wxGraphicsPath path = context->CreatePath();
    path.AddCircle(centre.x, centre.y, radius);
    context->StrokePath(path);
}

void WxDiagramRenderer::drawRect(const diagram::Point& position, const diagram::Size& size, const diagram::ShapeStyle& style)
{
    if (!context)
        return;
    wxGraphicsPath path = context->CreatePath();
    path.AddRectangle(position.x, position.y, size.width, size.height);
    if (style.filled) {
        context->SetBrush(wxBrush(toColour(style.fill), wxBRUSHSTYLE_SOLID));
        context->FillPath(path, wxWINDING_RULE);
    }
    context->SetPen(rectPen(style));
    context->StrokePath(path);
}

void WxDiagramRenderer::drawText(const std::string& text, int, const diagram::Point& lowerLeft)
{
    if (!context)
        return;
    const wxString shown = wxString::FromUTF8(text);
    double width = 0.0, height = 0.0;
    context->GetTextExtent(shown, &width, &height);
    context->DrawText(shown, lowerLeft.x, lowerLeft.y - height);
}

std::pair<double, double> WxDiagramRenderer::getTextExtent(const std::string& text, int pointSize)
{
    if (!context)
        return {0.0, 0.0};
    const wxFont* font = wxTheFontList->FindOrCreateFont(pointSize, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL,
                                                         wxFONTWEIGHT_NORMAL, false, wxEmptyString,
                                                         wxFONTENCODING_DEFAULT);
    if (!font)
        return {0.0, 0.0};
    context->SetFont(*font, *wxBLACK);
    double width = 0.0, height = 0.0;
    context->GetTextExtent(wxString::FromUTF8(text), &width, &height);
    return {width, height};
}
