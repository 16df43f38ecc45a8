#pragma once

// The fuzz targets: each takes one input of any bytes, runs it through the
// code under test and checks the properties the code promises. Bad input may
// be refused with the code's own documented errors; anything else (a crash,
// a sanitizer report, another exception, a broken property) is a finding.
// libFuzzer calls them through FuzzMain.cpp; the test program test_fuzz
// replays every kept regression input through the same functions.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace kovra_fuzz {

// A property that an input broke.
class Finding : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Project files: load, save, load, save gives the same text (ids masked);
// every building with every requirement set makes a proposal, which is
// validated and, when sound, handed to a Layouter.
void projectFile(const std::uint8_t* data, std::size_t size);
// Requirement files: what reads is written and reads again, and after the
// first write (which rounds to six decimals) read and write keep the text.
void requirementFile(const std::uint8_t* data, std::size_t size);
// STEP encoders: the string encoding is printable ASCII and decodes to the
// input's UTF-16; a finite real prints with a point and reads back exactly;
// the compound angle takes what it can represent and refuses the rest.
void stepText(const std::uint8_t* data, std::size_t size);
// Geometry functions on points and sizes taken from the bytes, small
// numbers and raw doubles (infinities, NaN, subnormals) alike.
void geometry(const std::uint8_t* data, std::size_t size);

// WebDAV listings: a PROPFIND reply parses or is refused with StoreError, and
// the children found for a collection are single, non-empty segments.
void davListing(const std::uint8_t* data, std::size_t size);
// The IFC export: a project that loads exports each proposal in both schemas
// into memory, or is refused with the export's documented error; the STEP
// text has its frame, numbered instances, balanced parentheses and no
// dangling reference.
void exportFile(const std::uint8_t* data, std::size_t size);
// The room dialog's form on a requirement file and typed texts: OK without
// changes changes nothing the second time, and what OK stores is savable and
// reads again, a new room with an index of its own.
void roomForm(const std::uint8_t* data, std::size_t size);
// Place-search replies and the site map's clamps: listed places lie within
// the ranges a project accepts, drags and pans stay in the world.
void placeReply(const std::uint8_t* data, std::size_t size);

struct Target {
    const char* name; // as scripts/fuzz.sh and tests/fuzz/regressions/ name it
    void (*run)(const std::uint8_t* data, std::size_t size);
};

inline constexpr Target targets[] = {
    {"project", projectFile},
    {"requirements", requirementFile},
    {"step", stepText},
    {"geometry", geometry},
    {"listing", davListing},
    {"export", exportFile},
    {"roomform", roomForm},
    {"places", placeReply},
};

} // namespace kovra_fuzz
