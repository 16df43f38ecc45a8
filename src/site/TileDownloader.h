#pragma once

#include <wx/event.h>
#include <wx/image.h>
#include <wx/string.h>
#include <wx/thread.h>

#include <deque>
#include <string>
#include <unordered_map>

// Tile URL -> image. An entry with an invalid image: requested, and no image
// stored (yet, or ever: a failed tile is never asked for again).
using TileCache = std::unordered_map<wxString, wxImage>;

// Downloads the queued tiles one at a time, stores each decoded image in the
// cache and tells the sink with EVT_TILE_LOADED; ends when it finds the
// queue empty. Joinable. The queue and the cache are guarded by the map
// control's mutex.
class TileDownloader : public wxThread {
public:
    // failure, guarded by the mutex too, gets why the latest tile that
    // failed came without an image.
    TileDownloader(wxEvtHandler* sink, TileCache* cache, wxMutex* mutex, std::string* failure);
    ~TileDownloader() override;

    // With the mutex held: queues url unless the cache has an entry for it,
    // and enters it as requested.
    void request(const wxString& url);
    // With the mutex held: whether the thread has decided to end, so that
    // a request now would not be served and a new thread is needed.
    bool hasEnded() const { return ended; }

protected:
    ExitCode Entry() override;

private:
    wxEvtHandler* sink;           // the map control; not owned
    std::deque<wxString> queue;   // tile URLs in request order
    TileCache* cache;             // not owned
    wxMutex* mutex;               // not owned
    std::string* failure;         // not owned
    bool ended = false;           // set under the mutex when the queue ran dry
};
