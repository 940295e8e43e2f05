#pragma once
// A failure of the book tool that the user can fix: the message names the file (and line)
// at fault and is printed as it is.

#include <stdexcept>
#include <string>

namespace ebook {

class PackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace ebook
