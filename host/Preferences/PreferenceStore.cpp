#include "host/Preferences/PreferenceStore.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>

#include "host/Runtime/AtomicFile.h"
#include "host/Runtime/PropertyList.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/EventLog.h"
#include "host/Runtime/UniqueFd.h"

namespace host {
namespace {

bool isValidDomain(const std::string& domain) {
    return !domain.empty() && domain.find('/') == std::string::npos && domain.find('\0') == std::string::npos;
}

// What the domain's file holds: a dictionary (empty only when there is no file), or why not.
struct Stored {
    std::optional<PlistValue::Dictionary> values;
    std::string why;
};

Stored load(const std::string& domain) {
    const auto file = DeviceRoot::read(PreferenceStore::devicePathForDomain(domain));
    if (file.missing()) return {PlistValue::Dictionary{}, ""};
    if (!file.bytes) return {std::nullopt, file.reason()};
    std::string error;
    auto value = host::PropertyList::parse(*file.bytes, &error);
    if (!value || !value->isDictionary())
        return {std::nullopt, "not a property list dictionary" + (error.empty() ? "" : " (" + error + ")")};
    return {std::move(*value->dictionary()), ""};
}

// Holds the domain's lock while it lives.
UniqueFd lockDomain(int folderFd, const std::string& domain, int* error) {
    const std::string name = "." + domain + ".plist.lock";
    UniqueFd fd(::openat(folderFd, name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (!fd) {
        *error = errno;
        return {};
    }
    int rc;
    do rc = ::flock(fd.get(), LOCK_EX);
    while (rc < 0 && errno == EINTR);
    if (rc < 0) {
        *error = errno;
        return {};
    }
    return fd;
}

}  // namespace

std::string PreferenceStore::devicePathForDomain(const std::string& domain) {
    return std::string(kFolder) + "/" + domain + ".plist";
}

PlistValue::Dictionary PreferenceStore::read(const std::string& domain) {
    if (!isValidDomain(domain)) return {};
    auto stored = load(domain);
    if (!stored.values) {
        EventLog::shared().diagnostic("preferences of " + domain + " cannot be read: " + stored.why);
        return {};
    }
    return std::move(*stored.values);
}

PlistValue PreferenceStore::valueForKey(const std::string& domain, const std::string& key) {
    auto values = read(domain);
    auto it = values.find(key);
    return it == values.end() ? PlistValue() : it->second;
}

bool PreferenceStore::setValue(const std::string& domain, const std::string& key, const PlistValue& value) {
    auto fail = [&](const std::string& why) {
        EventLog::shared().diagnostic("could not store " + key + " in " + domain + ": " + why);
        return false;
    };
    if (!isValidDomain(domain)) return fail("invalid defaults domain");
    if (key.empty()) return fail("the row has no key");
    std::string error;
    if (!DeviceRoot::createFolders(kFolder, &error)) return fail(error);
    int err = 0;
    UniqueFd folder = DeviceRoot::openFolder(kFolder, &err);
    if (!folder) return fail(std::string("cannot open the preferences folder: ") + std::strerror(err));
    UniqueFd lock = lockDomain(folder.get(), domain, &err);
    if (!lock) return fail(std::string("cannot lock the domain: ") + std::strerror(err));

    // Under the lock no other store of the domain is writing, so any temporary file of it is
    // what a killed store left behind.
    const std::string name = domain + ".plist";
    removeStaleTemporaryFiles(folder.get(), name);
    auto stored = load(domain);
    if (!stored.values) return fail("the stored preferences cannot be read (" + stored.why + "); they are left as they are");
    auto& values = *stored.values;
    if (value.isNil()) values.erase(key);
    else values.insert_or_assign(key, value);
    if (!writeFileAtomicallyAt(folder.get(), name, host::PropertyList::serialize(PlistValue(std::move(values)), host::PropertyList::Format::XML), &error))
        return fail(error);
    EventLog::shared().record("preference", {{"domain", domain}, {"key", key}, {"value", value.description()}});
    return true;
}

}  // namespace host
