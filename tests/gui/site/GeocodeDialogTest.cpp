// The place search against the loopback stand-in of the search service.
#include "DialogTesting.h"
#include "GuiSupport.h"

#include "shell/AppSettings.h"
#include "site/GeocodeDialog.h"

#include "shell/Events.h"
#include "support/MapServices.h"

#include <gtest/gtest.h>

#include <wx/activityindicator.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/weakref.h>

#include <string>
#include <vector>

namespace {

const char* const NO_MATCH = "The search did not match any locations.";

class GeocodeDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(services.url().empty());
        getAppSettings().geocodeUrl = services.url();
        getAppSettings().connectTimeoutMs = 5000;
        getAppSettings().transferTimeoutMs = 20000;
        dialog = new GeocodeDialog(nullptr);
        dialog->Bind(EVT_GEOCODE_DONE, [this](wxThreadEvent& event) {
            ++doneEvents;
            event.Skip();
        });
    }

    void TearDown() override
    {
        delete dialog;
        getAppSettings().geocodeUrl = saved.geocodeUrl;
        getAppSettings().connectTimeoutMs = saved.connectTimeoutMs;
        getAppSettings().transferTimeoutMs = saved.transferTimeoutMs;
    }

    // Searches for text and waits for the answer.
    void search(const wxString& text)
    {
        const int before = doneEvents;
        dialog->startSearch(text);
        ASSERT_TRUE(pumpEventsUntil([&] { return doneEvents > before; }, 60000));
        wxYield();
    }

    std::vector<std::string> rows() const
    {
        std::vector<std::string> names;
        for (unsigned i = 0; i < dialog->resultList->GetCount(); ++i)
            names.push_back(dialog->resultList->GetString(i).utf8_string());
        return names;
    }

    void select(int row)
    {
        dialog->resultList->SetSelection(row);
        wxCommandEvent event(wxEVT_LISTBOX, ID_GEOCODE_RESULTS);
        event.SetEventObject(dialog->resultList);
        event.SetInt(row);
        dialog->resultList->ProcessWindowEvent(event);
    }

    std::string status() const { return dialog->statusText->GetLabel().utf8_string(); }

    kovra_test::FakeMapServices services;
    AppSettings saved = getAppSettings();
    GeocodeDialog* dialog = nullptr;
    int doneEvents = 0;
};

} // namespace

TEST_F(GeocodeDialogTest, RepliesListTheirPlaces)
{
    struct Case {
        const char* query;
        std::vector<std::string> rows;
        std::string status;
    } cases[] = {
        {"empty", {}, NO_MATCH},
        {"three", {"First Place", "Third Place"}, ""},
        {"object", {}, NO_MATCH},
        {"split", {"Z\xC3\xBCrich"}, ""},
    };
    for (const auto& c : cases) {
        search(c.query);
        EXPECT_EQ(rows(), c.rows) << c.query;
        EXPECT_EQ(status(), c.status) << c.query;
        EXPECT_FALSE(dialog->busyIndicator->IsRunning()) << c.query;
    }
}

TEST_F(GeocodeDialogTest, AFailedSearchClearsTheResultsAndSaysWhy)
{
    for (const char* query : {"invalid", "error"}) {
        search("three");
        ASSERT_EQ(rows().size(), 2u);
        search(query);
        EXPECT_TRUE(rows().empty()) << query;
        EXPECT_EQ(status().rfind("The search failed: ", 0), 0u) << query << ": " << status();
        EXPECT_FALSE(dialog->busyIndicator->IsRunning()) << query;
    }
}

TEST_F(GeocodeDialogTest, TheQueryGoesOutEscapedWithTheUserAgent)
{
    search(wxString::FromUTF8("Z\xC3\xBCrich"));
    const auto requests = services.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], "/search?q=Z%C3%BCrich&format=json&accept-language=en-US|Kovra Floorsmith");
    EXPECT_EQ(rows(), std::vector<std::string>{"Z\xC3\xBCrich"});
}

TEST_F(GeocodeDialogTest, ASecondSearchWhileTheFirstHangsShowsOnlyTheSecond)
{
    dialog->startSearch("silent");
    ASSERT_TRUE(pumpEventsUntil([&] { return !services.requests().empty(); }));
    search("three");
    EXPECT_EQ(rows(), (std::vector<std::string>{"First Place", "Third Place"}));
    EXPECT_EQ(status(), "");
    EXPECT_EQ(doneEvents, 1);
}

TEST_F(GeocodeDialogTest, ASilentServerEndsAsAFailedSearch)
{
    getAppSettings().transferTimeoutMs = 1000;
    search("silent");
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(status().rfind("The search failed: ", 0), 0u) << status();
}

TEST_F(GeocodeDialogTest, DestroyingTheDialogWhileTheServerIsSilentReturns)
{
    getAppSettings().transferTimeoutMs = 600000; // only the stop may end the transfer
    dialog->startSearch("silent");
    ASSERT_TRUE(pumpEventsUntil([&] { return !services.requests().empty(); }));
    delete dialog;
    dialog = nullptr;
    SUCCEED();
}

TEST_F(GeocodeDialogTest, TheChosenPlaceSurvivesANewSearch)
{
    search("three");
    select(1);
    EXPECT_TRUE(dialog->resultChosen);
    EXPECT_DOUBLE_EQ(dialog->chosenLatitude, -33.75);
    EXPECT_DOUBLE_EQ(dialog->chosenLongitude, 151.125);
    search("empty");
    EXPECT_TRUE(dialog->resultChosen);
    EXPECT_DOUBLE_EQ(dialog->chosenLatitude, -33.75);
}

TEST_F(GeocodeDialogTest, OkWithoutAChoiceAsksForOne)
{
    search("three");
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    ok.SetEventObject(dialog);
    wxTEST_DIALOG(dialog->ProcessWindowEvent(ok), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_FALSE(dialog->resultChosen);
}

TEST_F(GeocodeDialogTest, OkReturnsTheChosenPlace)
{
    search("three");
    select(0);
    dialog->CallAfter([this] {
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        ok.SetEventObject(dialog);
        dialog->ProcessWindowEvent(ok);
    });
    EXPECT_EQ(dialog->ShowModal(), wxID_OK);
    EXPECT_DOUBLE_EQ(dialog->chosenLatitude, 10.5);
    EXPECT_DOUBLE_EQ(dialog->chosenLongitude, 20.25);
}

TEST_F(GeocodeDialogTest, ADoubleClickOnARowAcceptsIt)
{
    search("three");
    dialog->CallAfter([this] {
        select(1);
        wxCommandEvent doubleClick(wxEVT_LISTBOX_DCLICK, ID_GEOCODE_RESULTS);
        doubleClick.SetEventObject(dialog->resultList);
        doubleClick.SetInt(1);
        dialog->resultList->ProcessWindowEvent(doubleClick);
    });
    EXPECT_EQ(dialog->ShowModal(), wxID_OK);
    EXPECT_DOUBLE_EQ(dialog->chosenLatitude, -33.75);
}
