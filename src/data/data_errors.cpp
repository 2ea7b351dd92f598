#include "data/data_errors.h"

namespace data {

void ThrowDataError(int number) {
  const char16_t* text = u"";
  switch (number) {
    case kArgumentOutOfRange:
      text = u"Arguments are of the wrong type, are out of acceptable range, or are in conflict "
             u"with one another.";
      break;
    case kNoCurrentRecord:
      text = u"Either BOF or EOF is True, or the current record has been deleted. Requested "
             u"operation requires a current record.";
      break;
    case kItemNotFound:
      text = u"Item cannot be found in the collection corresponding to the requested name or "
             u"ordinal.";
      break;
    case kObjectClosed: text = u"Operation is not allowed when the object is closed."; break;
    case kObjectOpen: text = u"Operation is not allowed when the object is open."; break;
    case kProviderNotFound:
      text = u"Provider cannot be found. It may not be properly installed.";
      break;
    case kConnectionInvalid:
      text = u"The connection cannot be used to perform this operation. It is either closed or "
             u"invalid in this context.";
      break;
    default: throw automation::Error(number);
  }
  throw automation::Error(number, text);
}

}  // namespace data
