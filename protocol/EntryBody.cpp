#include "protocol/EntryBody.h"

#include <algorithm>
#include <cstring>

namespace ebook {

EntryBody::EntryBody(std::string bytes, QObject* parent)
    : QIODevice(parent), bytes_(std::move(bytes)) {
  open(QIODevice::ReadOnly);
}

qint64 EntryBody::readData(char* data, qint64 maxSize) {
  const qint64 at = pos();
  const qint64 count = std::clamp<qint64>(size() - at, 0, maxSize);
  if (count > 0) memcpy(data, bytes_.data() + at, static_cast<size_t>(count));
  return count;
}

qint64 EntryBody::writeData(const char*, qint64) { return -1; }

}  // namespace ebook
