#!/usr/bin/env bash
# Usage: make-runtime.sh VIEWER OUTPUT_FRAME [ZSTD_LEVEL]
# Makes the runtime a portable book carries, from the installed Debian packages: the viewer,
# QtWebEngineProcess, every library of theirs a desktop without Qt lacks, the Qt plugins for
# X11 and Wayland, the WebEngine resources and the en-US locale. Packs it as a tar stream
# compressed with zstd, in the frame that archive/RuntimeFrame.h describes.
#
# Libraries left to the system are those every Linux desktop has, and those that must match
# the system's own graphics stack: the C and C++ run-time libraries (a bundled libstdc++ in
# front of a newer system's Mesa breaks GLX), GL/EGL/GLX/gbm/drm, X11 and xcb, fontconfig,
# freetype, png, expat, zlib, dbus, glib, systemd, cups, Kerberos, sqlite, ICE/SM and
# xkbcommon. libOpenGL.so.0 is the one exception: desktops often lack it, so it is shipped in
# lib-fallback/, which the launcher uses only when the system has no libOpenGL.so.0.
set -euo pipefail
viewer=$1
output=$2
level=${3:-19}
here=$(cd "$(dirname "$0")" && pwd)
qtlib=/usr/lib/x86_64-linux-gnu
plugins=$qtlib/qt6/plugins
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runtime=$work/runtime
mkdir -p "$runtime"/{lib,lib-fallback,libexec,plugins,resources,translations/qtwebengine_locales}

keep_on_system() {
  case $1 in
    ld-linux*|libc.so*|libm.so*|libdl.so*|libpthread.so*|librt.so*|libresolv.so*|libutil.so*) return 0 ;;
    libstdc++.so*|libgcc_s.so*) return 0 ;;
    libGL.so*|libGLX*|libGLdispatch*|libEGL*|libGLESv2*|libgbm*|libdrm*|libOpenGL*) return 0 ;;
    libX*|libxcb*|libxkbcommon*|libxshmfence*|libICE*|libSM*|libwayland-*) return 0 ;;
    libfontconfig*|libfreetype*|libpng16*|libexpat*|libz.so*|libbrotli*|libbz2*) return 0 ;;
    libdbus-1*|libglib-2*|libgobject-2*|libgio-2*|libgmodule-2*|libgthread-2*|libsystemd*) return 0 ;;
    libcups*|libgssapi*|libkrb5*|libk5crypto*|libcom_err*|libkeyutils*|libavahi*|libgnutls*) return 0 ;;
    libsqlite3*|libffi*|libmount*|libblkid*|libselinux*|libpcre2-8*|libuuid*|liblzma*|liblz4*) return 0 ;;
    libzstd*|libcap*|libgcrypt*|libgpg-error*|libnettle*|libhogweed*|libgmp*|libidn2*|libunistring*|libtasn1*|libp11-kit*) return 0 ;;
    libasound*|libpulse*|libudev*|libexpat*|libbsd*|libmd.so*|libXau*|libXdmcp*) return 0 ;;
  esac
  return 1
}

# The libraries `file` needs, by path, that the runtime must carry.
bundle_libraries_of() {
  ldd "$1" | awk '/=> \// { print $1, $3 }' | while read -r name path; do
    keep_on_system "$name" && continue
    if [[ ! -e $runtime/lib/$name ]]; then
      cp -L "$path" "$runtime/lib/$name"
      bundle_libraries_of "$path"
    fi
  done
}

cp "$viewer" "$runtime/ebook"
cp /usr/lib/qt6/libexec/QtWebEngineProcess "$runtime/libexec/"
bundle_libraries_of "$runtime/ebook"
bundle_libraries_of "$runtime/libexec/QtWebEngineProcess"
for plugin in platforms/libqxcb.so platforms/libqoffscreen.so platforms/libqwayland-generic.so \
              platforms/libqwayland-egl.so xcbglintegrations/libqxcb-glx-integration.so \
              xcbglintegrations/libqxcb-egl-integration.so \
              platforminputcontexts/libcomposeplatforminputcontextplugin.so \
              platforminputcontexts/libibusplatforminputcontextplugin.so \
              printsupport/libcupsprintersupport.so \
              wayland-shell-integration/libxdg-shell.so wayland-decoration-client/libbradient.so \
              wayland-graphics-integration-client/libqt-plugin-wayland-egl.so; do
  [[ -e $plugins/$plugin ]] || continue
  mkdir -p "$runtime/plugins/$(dirname "$plugin")"
  cp "$plugins/$plugin" "$runtime/plugins/$plugin"
  bundle_libraries_of "$plugins/$plugin"
done
# NSS opens these by name.
for name in libsoftokn3.so libnssckbi.so libfreeblpriv3.so libfreebl3.so libnssdbm3.so; do
  [[ -e $qtlib/$name ]] && cp -L "$qtlib/$name" "$runtime/lib/$name" && bundle_libraries_of "$qtlib/$name"
done
cp -L "$qtlib/libOpenGL.so.0" "$runtime/lib-fallback/"
for pak in /usr/share/qt6/resources/*.pak; do
  [[ $pak == *devtools* ]] || cp "$pak" "$runtime/resources/"
done
cp /usr/share/qt6/translations/qtwebengine_locales/en-US.pak "$runtime/translations/qtwebengine_locales/"
# Qt finds its plugins, QtWebEngineProcess, resources and locales beside the viewer.
printf '[Paths]\nPrefix=.\nLibraries=lib\nPlugins=plugins\nLibraryExecutables=libexec\nData=.\nTranslations=translations\n' \
  >"$runtime/qt.conf"
printf '[Paths]\nPrefix=..\nLibraries=lib\nPlugins=plugins\nLibraryExecutables=libexec\nData=.\nTranslations=translations\n' \
  >"$runtime/libexec/qt.conf"
strip --strip-unneeded "$runtime"/lib/*.so* "$runtime"/plugins/*/*.so 2>/dev/null || true

# The manifest: every file with its size, checked by the launcher before it reuses a runtime.
(cd "$runtime" && find . -type f ! -name MANIFEST -printf '%P\t%s\n' | LC_ALL=C sort >MANIFEST)
(cd "$runtime" && tar --sort=name --mtime=@0 --owner=0 --group=0 --numeric-owner -cf "$work/runtime.tar" .)
zstd -q -T0 "-$level" --long=27 "$work/runtime.tar" -o "$work/runtime.tar.zst"
python3 "$here/write-frame.py" "$work/runtime.tar" "$runtime/MANIFEST" "$work/runtime.tar.zst" "$output"
echo "$output: $(du -sm "$runtime" | cut -f1) MiB unpacked, $(stat -c %s "$output") bytes packed"
