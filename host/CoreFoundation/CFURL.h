#pragma once
// URL escaping and parsing, as Core Foundation and NSURL do them.
#include <optional>
#include <string>
#include <string_view>

inline constexpr unsigned kCFStringEncodingUTF8 = 0x08000100;

// CFURLCreateStringByAddingPercentEscapes: every character that is not a legal URL character
// (RFC 2396: A-Z a-z 0-9 ! $ & ' ( ) * + , - . / : ; = ? @ _ ~), and every character of
// `legalURLCharactersToBeEscaped`, is written as its UTF-8 bytes, each as "%" and two uppercase
// hex digits; characters of `charactersToLeaveUnescaped` are kept. Text that is not valid UTF-8
// (the platform's lone surrogate) gives no result. Only UTF-8 is supported as the encoding.
std::optional<std::string> CFURLCreateStringByAddingPercentEscapes(std::string_view string,
    std::optional<std::string_view> charactersToLeaveUnescaped, std::optional<std::string_view> legalURLCharactersToBeEscaped,
    unsigned encoding = kCFStringEncodingUTF8);
