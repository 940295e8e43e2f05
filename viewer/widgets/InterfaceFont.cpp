#include "viewer/widgets/InterfaceFont.h"

#include <QStringList>

namespace ebook {

QFont InterfaceFont(const QFont& base) {
  QFont font = base;
  // Microsoft Sans Serif and Tahoma are the design font's own successors; Arial and its
  // metric twins set a caption in about the same width.
  font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                    QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                    QStringLiteral("Arimo"), base.family()});
  font.setPixelSize(kInterfacePixelSize);
  return font;
}

}  // namespace ebook
