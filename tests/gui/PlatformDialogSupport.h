#pragma once

// Helpers of the platform dialog tests: a platform kept in a scratch folder
// and seeded with projects, folders and files, Apache's WebDAV share on
// loopback, temporary files redirected to a folder the test can look into,
// and the small moves a user makes on a dialog (press a button, select a
// row).

#include "DialogTesting.h"
#include "GuiSupport.h"

#include "platformui/PlatformTree.h"

#include "platform/KovraClient.h"
#include "support/FileSupport.h"
#include "support/PlatformServers.h"

#include <gtest/gtest.h>

#include <wx/msgdlg.h>
#include <wx/treelist.h>
#include <wx/window.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace kovra_test {

// Answers a message box, failing the test unless its text holds part.
class ExpectMessage : public wxExpectModalBase<wxMessageDialog> {
public:
    ExpectMessage(const wxString& part, int button = wxOK) : part(part), button(button) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override
    {
        EXPECT_NE(dialog->GetMessage().Find(part), wxNOT_FOUND)
            << "message \"" << dialog->GetMessage().utf8_string() << "\" lacks \"" << part.utf8_string() << "\"";
        switch (button) {
        case wxYES:
            return wxID_YES;
        case wxNO:
            return wxID_NO;
        case wxCANCEL:
            return wxID_CANCEL;
        default:
            return wxID_OK;
        }
    }
    wxString GetDefaultDescription() const override { return "message box \"" + part + "\""; }

private:
    wxString part;
    int button;
};

// Points the process's temporary folder (TMPDIR) at folder while the object
// lives, so that a test can see which temporary files a command leaves.
class RedirectedTemporaryFolder {
public:
    explicit RedirectedTemporaryFolder(std::filesystem::path folder) : folder_(std::move(folder))
    {
        std::filesystem::create_directories(folder_);
        const char* old = std::getenv("TMPDIR");
        oldTmpdir = old ? old : "";
        hadTmpdir = old != nullptr;
        ::setenv("TMPDIR", folder_.c_str(), 1);
    }
    ~RedirectedTemporaryFolder()
    {
        if (hadTmpdir)
            ::setenv("TMPDIR", oldTmpdir.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    RedirectedTemporaryFolder(const RedirectedTemporaryFolder&) = delete;
    RedirectedTemporaryFolder& operator=(const RedirectedTemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return folder_; }
    // Apart from the client's login page, which lives as long as the client.
    bool empty() const
    {
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            if (entry.path().filename().string().rfind("kovra-login-", 0) != 0)
                return false;
        }
        return true;
    }

private:
    std::filesystem::path folder_;
    std::string oldTmpdir;
    bool hadTmpdir = false;
};

// A platform in a scratch folder, with temporary files redirected to a
// folder of the scratch folder for the test's life.
class FolderPlatform {
public:
    FolderPlatform() : temporaries(scratch.path() / "tmp")
    {
        std::filesystem::create_directories(root());
        ::unsetenv("KOVRA_PLATFORM_URL");
        client = std::make_unique<KovraClient::cKovraClient>(root().string());
    }

    std::filesystem::path root() const { return scratch.path() / "platform"; }
    std::filesystem::path temporary() const { return temporaries.path(); }
    std::filesystem::path local(const std::string& name) const { return scratch.path() / name; }

    // A file on the platform at path (below the root), with its folders.
    void put(const std::string& path, const std::string& content = "content") const
    {
        std::filesystem::create_directories((root() / path).parent_path());
        writeText((root() / path).string(), content);
    }
    void folder(const std::string& path) const { std::filesystem::create_directories(root() / path); }
    bool has(const std::string& path) const { return std::filesystem::exists(root() / path); }
    std::string read(const std::string& path) const { return readText((root() / path).string()); }

    bool temporaryFolderEmpty() const { return temporaries.empty(); }

    void login() const
    {
        std::string loginUrl;
        ASSERT_TRUE(client->autorizationRequest("", "", loginUrl)) << client->lastError();
        ASSERT_TRUE(client->tokenRequest()) << client->lastError();
    }

private:
    ScratchFolder scratch;
    RedirectedTemporaryFolder temporaries;

public:
    std::unique_ptr<KovraClient::cKovraClient> client;
};

// Apache's WebDAV share on loopback, started with the object and stopped at
// its end, the account in a netrc file of the scratch folder and temporary
// files redirected as above. Apache writes the share as its own user: files
// and folders are put there through the client, and read back from disk.
class DavPlatform {
public:
    DavPlatform() : temporaries(scratch.path() / "tmp")
    {
        writeText(scratch.file("netrc"), server.netrcLine());
        ::setenv("KOVRA_NETRC", scratch.file("netrc").c_str(), 1);
        ::unsetenv("KOVRA_PLATFORM_URL");
        client = std::make_unique<KovraClient::cKovraClient>(scratch.file("default"));
    }
    ~DavPlatform()
    {
        ::unsetenv("KOVRA_NETRC");
        if (::testing::Test::HasFailure())
            server.keep();
    }

    // The folder the server keeps the share in.
    std::filesystem::path root() const { return server.shareFolder(); }
    std::string user() const { return server.user(); }
    bool temporaryFolderEmpty() const { return temporaries.empty(); }

    void login() const
    {
        std::string loginUrl;
        ASSERT_TRUE(client->autorizationRequest(server.filesUrl(), "", loginUrl)) << client->lastError();
        ASSERT_TRUE(client->tokenRequest()) << client->lastError();
    }

private:
    ScratchFolder scratch;
    DavServer server;
    RedirectedTemporaryFolder temporaries;

public:
    std::unique_ptr<KovraClient::cKovraClient> client;
};

// Presses the button with the id inside window, as a click would.
inline void pressButton(wxWindow* window, int id)
{
    wxWindow* button = window->FindWindow(id);
    ASSERT_NE(button, nullptr) << "no button " << id;
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

inline bool buttonEnabled(wxWindow* window, int id)
{
    window->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    wxWindow* button = window->FindWindow(id);
    return button && button->IsEnabled();
}

// The row reached from the root through the names of column "Name"; the
// empty item when there is none.
inline wxTreeListItem rowAt(wxTreeListCtrl* tree, std::initializer_list<std::string> names)
{
    wxTreeListItem row = tree->GetRootItem();
    for (const std::string& name : names) {
        wxTreeListItem child = tree->GetFirstChild(row);
        while (child.IsOk() && tree->GetItemText(child, 0).utf8_string() != name)
            child = tree->GetNextSibling(child);
        if (!child.IsOk())
            return {};
        row = child;
    }
    return row;
}

// Names of the row's children, in their order.
inline std::vector<std::string> childNames(wxTreeListCtrl* tree, wxTreeListItem row)
{
    std::vector<std::string> names;
    for (wxTreeListItem child = tree->GetFirstChild(row); child.IsOk(); child = tree->GetNextSibling(child))
        names.push_back(tree->GetItemText(child, 0).utf8_string());
    return names;
}

// Selects the row as the user would, telling the tree's listeners.
inline void selectRow(wxTreeListCtrl* tree, wxTreeListItem row)
{
    if (row.IsOk())
        tree->Select(row);
    else
        tree->UnselectAll();
    wxTreeListEvent event;
    event.SetEventType(wxEVT_TREELIST_SELECTION_CHANGED);
    event.SetId(tree->GetId());
    event.SetEventObject(tree);
    tree->GetEventHandler()->ProcessEvent(event);
}

} // namespace kovra_test
