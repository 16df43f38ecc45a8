#pragma once

// Storing a file that a command made on the platform, without ever losing
// the copy already there. GUI-free.

#include "platform/KovraClient.h"

#include <string>

// Writes text to path and checks that all of it arrived; throws
// std::runtime_error otherwise. An upload of a truncated file would stand
// in for a good copy on the platform.
void writeCompletely(const std::string& path, const std::string& text);
// Throws std::runtime_error unless path is a file with content.
void checkStagedFile(const std::string& path);

struct Upload {
    KovraClient::KovraResource resource; // as stored, id included
    bool replaced = false;               // the older copy was deleted
    std::string notice;                  // empty when all went as asked
};

// Uploads the staged file beneath parentId as wantedName (the staged file's
// own name plays no part). When replaceId is not empty it
// names an older copy that this upload supersedes: it is deleted only once
// the new copy is stored. Then the new copy takes wantedName when the
// platform had to number it; a name still taken by another file stays
// numbered, since nothing on the platform is ever replaced.
//
// Throws when wantedName cannot be a platform file name (savedNameProblem),
// when the upload fails, or when the copy read back is not the file sent
// (its size, or the ETag the server gave it): the older copy stays then, and
// the faulty new one is removed where the platform allows. Later
// failures lose nothing and are said in the notice, which also names a file
// that did not get the wanted name.
Upload upload(KovraClient::cKovraClient& client, const std::string& path, const std::string& wantedName,
              const std::string& parentId, const std::string& replaceId);
