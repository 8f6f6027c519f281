#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/TestFiles.h"  // GeneratedPolicy, TempDir

namespace fwcommon::test {

// One rule element as XML text: kind "TransitRule", "LocalRule", ...;
// action "Pass" or "Drop".
std::string RuleElement(const std::string& kind, long long ruleId, long long orderId,
                        const std::string& name, const std::string& creationType = "Policy",
                        const std::string& action = "Pass",
                        const std::string& conditions = std::string());

// A whole policy document around the given rule elements and optional
// named objects and options (their inner XML).
std::string PolicyDocument(const std::string& rules, const std::string& namedObjects = "",
                           const std::string& options = "");

// An ip object element holding one address.
std::string IpObjectElement(const std::string& name, int id, const std::string& creationType,
                            const std::string& address);

// A local drop rule (id 200001, creation type Policy) whose destination is
// the ip object of that Id.
std::string RuleToObject(int objectId);

// Writes text to dir/name and returns the path as a string.
std::string WrittenFile(const std::filesystem::path& dir, const std::string& name,
                        const std::string& text);

// XML text with the blanks between tags taken out.
std::string BlanksBetweenTagsRemoved(const std::string& text);

// Inner XML of NamedObjects with one object of each kind: schedule "Office
// hours" (501), service "Web" (401), vpn "Head office" (301), interface
// "Outside" (201) and ip "Office LAN" (101).
std::string OneObjectOfEachKind();

// The names of a section's rules in the order `fwpolicy show` lists them.
std::vector<std::string> ShownNames(const std::filesystem::path& file, const std::string& section);

// The inode number of a file: another one after the file was replaced.
ino_t InodeOf(const std::filesystem::path& file);

// The entries of a directory, sorted.
std::vector<std::string> DirectoryEntries(const std::filesystem::path& directory);

// A copy of a policy of the source tree, as policy.xml in a directory of
// its own, for a test to edit.
class PolicyCopy {
public:
    explicit PolicyCopy(std::string source = "tests/data/cli/edit-base.xml");

    std::string file() const { return file_.string(); }
    const std::filesystem::path& dir() const { return dir_.path(); }
    std::vector<unsigned char> bytes() const { return ReadBytes(file_); }
    std::vector<std::string> entries() const { return DirectoryEntries(dir_.path()); }
    // The copy made anew from the source.
    void Reset();
    // The arguments with each "@" replaced by the file.
    std::vector<std::string> With(std::vector<std::string> arguments) const;

private:
    TempDir dir_;
    std::string source_;
    std::filesystem::path file_;
};

}  // namespace fwcommon::test
