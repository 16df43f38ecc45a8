#include "GuiSupport.h"

#include "shell/Events.h"

#include "model/Building.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Regains the building of a deleted event the way the main window does.
class DeletedReceiver : public wxEvtHandler {
public:
    DeletedReceiver() { Bind(EVT_BUILDING_DELETED, &DeletedReceiver::onDeleted, this); }

    void onDeleted(wxCommandEvent& event)
    {
        auto building = eventObject<bg::Building>(event)->shared_from_this();
        names.push_back(building->name);
    }

    std::vector<std::string> names;
};

TEST(ObjectEvents, DeletedObjectLivesUntilItsEventWasHandled)
{
    DeletedReceiver receiver;
    auto building = std::make_shared<bg::Building>("Gone");
    std::weak_ptr<bg::Building> watch = building;

    postObjectEvent(&receiver, EVT_BUILDING_DELETED, building);
    building.reset(); // the project let go of it
    EXPECT_FALSE(watch.expired());
    EXPECT_TRUE(receiver.names.empty()) << "handled inside the post";

    receiver.ProcessPendingEvents();
    EXPECT_EQ(receiver.names, std::vector<std::string>{"Gone"});
    EXPECT_TRUE(watch.expired());
}

TEST(ObjectEvents, CopiesOfAnEventShareTheObject)
{
    auto building = std::make_shared<bg::Building>("Shared");
    std::weak_ptr<bg::Building> watch = building;
    auto* event = new ModelObjectEvent(EVT_BUILDING_DELETED, building);
    building.reset();
    std::unique_ptr<wxEvent> copy(event->Clone());
    delete event;
    ASSERT_FALSE(watch.expired());
    EXPECT_EQ(static_cast<wxCommandEvent&>(*copy).GetClientData(), watch.lock().get());
    copy.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(ObjectEvents, PostToNoTargetIsDropped)
{
    auto building = std::make_shared<bg::Building>("Nowhere");
    postObjectEvent(nullptr, EVT_BUILDING_DELETED, building);
    postEvent(nullptr, EVT_PROJECT_CHANGED);
    EXPECT_EQ(building.use_count(), 1);
}

} // namespace
