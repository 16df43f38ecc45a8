#pragma once

// Every bound the platform client puts on what a server, a folder or a
// listing can make it do, with the reason for each. A platform is trusted
// with the user's files, not with the window: no answer may hang it, fill
// the memory or the disk, or make it recurse without end.

#include <cstddef>

namespace kovraplatform::limits {

// A server that accepts no connection within this time is taken as down;
// the user is waiting for the window.
constexpr long connectSeconds = 10;
// Below lowSpeedBytes a second for stallSeconds, a transfer is given up: a
// server trickling a byte now and then would otherwise hold a request open
// without end. 1 KiB/s is far below any working link.
constexpr long stallSeconds = 30;
constexpr long lowSpeedBytes = 1024;
// Listings, login replies and the answers to small requests end within this
// time in all: they are a few kilobytes, so a minute means the server keeps
// the request open on purpose or is broken. Uploads and downloads of files
// have no total time (large files on slow links); the low-speed rule ends them.
constexpr long replySeconds = 60;
// Listings and login replies larger than this are refused before they are
// parsed: a listing of the largest projects is a few hundred kilobytes, and
// an endless one must not fill the memory.
constexpr std::size_t replyBytes = 8u << 20;
// A download stops here and fails: project, IFC and requirement files are far
// smaller, and an endless download must not fill the user's disk.
constexpr long long downloadBytes = 2LL << 30;

// The platform tree reads at most this deep and this many entries in all: a
// server (or a folder) can list an endless tree, and each level costs a
// request while the window waits.
constexpr int treeDepth = 32;
constexpr int treeEntries = 10000;

} // namespace kovraplatform::limits
