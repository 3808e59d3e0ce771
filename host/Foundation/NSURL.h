#pragma once
// An address as NSURL parses it: scheme, authority (host), path and query, or nil when the text
// is not a well-formed URL.
#include <memory>
#include <string>
#include <string_view>

#include "host/Foundation/NSObject.h"

class NSURL : public NSObject {
public:
    // URLWithString: nullptr for a malformed address: empty text, a character outside the legal
    // URL set (a space, non-ASCII, a lone "%" not followed by two hex digits), or no valid
    // scheme-less form. A relative reference without a scheme is accepted, as on the platform.
    static std::shared_ptr<NSURL> URLWithString(std::string_view text);

    NS_CLASS(NSURL)

    const std::string& absoluteString() const { return _string; }
    const std::string& scheme() const { return _scheme; }  // "" when relative
    const std::string& host() const { return _host; }      // the authority's host part, "" when empty
    bool hasAuthority() const { return _hasAuthority; }     // "scheme://..." form
    const std::string& path() const { return _path; }       // still percent-escaped
    const std::string& query() const { return _query; }     // without "?", "" when none

    explicit NSURL(std::string text) : _string(std::move(text)) {}

private:
    std::string _string, _scheme, _host, _path, _query;
    bool _hasAuthority = false;
};
