#pragma once
// The body of one answer: an inflated entry handed to the browser engine as it came out of the
// inflater. A copy into a QByteArray would double the memory an entry takes at its peak, which
// for a large entry is the difference between an answer and the process being killed.

#include <QIODevice>
#include <string>

namespace ebook {

class EntryBody : public QIODevice {
  Q_OBJECT
 public:
  EntryBody(std::string bytes, QObject* parent);

  const std::string& bytes() const { return bytes_; }

  bool isSequential() const override { return false; }
  qint64 size() const override { return static_cast<qint64>(bytes_.size()); }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 maxSize) override;

 private:
  const std::string bytes_;
};

}  // namespace ebook
