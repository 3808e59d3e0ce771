#pragma once
// An error object as the platform hands it to delegates: a domain, a code and a description.
#include <memory>
#include <string>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Foundation/NSObject.h"

class NSError : public NSObject {
public:
    // errorWithDomain:code:userInfo: with the description as the only user information.
    static std::shared_ptr<NSError> errorWithDomain(std::string domain, NSInteger code, std::string localizedDescription) {
        auto error = std::make_shared<NSError>();
        error->_domain = std::move(domain);
        error->_code = code;
        error->_localizedDescription = std::move(localizedDescription);
        return error;
    }

    NS_CLASS(NSError)
    const std::string& domain() const { return _domain; }
    NSInteger code() const { return _code; }
    const std::string& localizedDescription() const { return _localizedDescription; }

private:
    std::string _domain;
    NSInteger _code = 0;
    std::string _localizedDescription;
};
