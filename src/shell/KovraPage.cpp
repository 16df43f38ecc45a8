#include "KovraPage.h"

KovraPage::KovraPage(wxWindow* parent, RibbonPage ribbonPage, wxWindowID id)
    : wxPanel(parent, id), ribbonPage(ribbonPage)
{
}

KovraPage::~KovraPage()
{
    // The ribbon bar outlives the page; its bindings must not.
    ribbonBinder.unbindAll();
}
