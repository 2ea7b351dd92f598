#include "automation/error.h"

namespace automation {

Text StandardDescription(int number) {
  switch (number) {
    case 5: return u"Invalid procedure call or argument";
    case 6: return u"Overflow";
    case 7: return u"Out of memory";
    case 9: return u"Subscript out of range";
    case 11: return u"Division by zero";
    case 13: return u"Type mismatch";
    case 53: return u"File not found";
    case 58: return u"File already exists";
    case 62: return u"Input past end of file";
    case 70: return u"Permission denied";
    case 75: return u"Path/File access error";
    case 76: return u"Path not found";
    case 91: return u"Object variable or With block variable not set";
    case 94: return u"Invalid use of Null";
    case 424: return u"Object required";
    case 429: return u"ActiveX component can't create object";
    case 438: return u"Object doesn't support this property or method";
    case 445: return u"Object doesn't support this action";
    case 449: return u"Argument not optional";
    case 450: return u"Wrong number of arguments or invalid property assignment";
    case 3021:
      return u"Either BOF or EOF is True, or the current record has been deleted. "
             u"Requested operation requires a current record.";
    case 3704: return u"Operation is not allowed when the object is closed.";
    case 5017: return u"Syntax error in regular expression";
    case -2147217871: return u"页面运行超过了时间限制";
    default: return Text();
  }
}

Error::Error(int number) : Error(number, StandardDescription(number)) {}

Error::Error(int number, Text description)
    : number_(number), description_(std::move(description)) {
  what_ = ToUtf8(description_) + " (" + std::to_string(number_) + ")";
}

void ThrowTypeMismatch() { throw Error(err::kTypeMismatch); }
void ThrowOverflow() { throw Error(err::kOverflow); }
void ThrowInvalidNull() { throw Error(err::kInvalidNull); }
void ThrowInvalidCall() { throw Error(err::kInvalidCall); }

}  // namespace automation
