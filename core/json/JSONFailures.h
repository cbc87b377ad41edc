#pragma once

#include <cstdint>
#include <string>

// Every failure that the JSON item raises as a JSONException, one row each:
// its number and its message. Callers may tell failures apart by number, so
// neither column changes.
class JSONFailures {
public:
    struct Failure {
        int number;
        const char* message;
    };

    static constexpr Failure ExpectingObjectOrArray{1, "Parse Error: Expecting '{' or '['"};
    static constexpr Failure ParsingError{2, "A parsing error occurred"};
    static constexpr Failure IllegalNumberFormat{3, "Illegal Number Format"};
    static constexpr Failure NestingTooDeep{4, "Nesting Too Deep"};
    static constexpr Failure MissingColon{5, "Missing :"};
    static constexpr Failure MissingCommaOrBrace{6, "Missing , or }"};
    static constexpr Failure MissingQuote{7, "Missing \""};
    static constexpr Failure IllegalUnicode{8, "Illegal Unicode Character Format"};
    static constexpr Failure IllegalCharacter{9, "Illegal Character"};
    static constexpr Failure IllegalValue{10, "Illegal Value"};
    static constexpr Failure UnrecognizedObject{11, "Unrecognized Object"};
    static constexpr Failure NotAnArray{12, "JSONItem is not an array"};
    static constexpr Failure IsAnArray{13, "JSONItem is an array"};
    static constexpr Failure CircularReference{14, "Circular Reference Detected"};

    // Throws the failure as a JSONException. A parse failure passes the byte
    // position at which reading stood; a rendering failure may pass the text
    // of the value that has no JSON form.
    [[noreturn]] static void raise(const Failure& failure, std::int64_t position = 0);
    [[noreturn]] static void raise(const Failure& failure, const std::string& detail);
};
