# `make package`: one Debian package with everything cmake/install.cmake installs. The runtime
# dependencies are read off the binaries by dpkg-shlibdeps, so they follow the build machine.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lastora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "SEPA-Lastschriften und -Überweisungen, DTAUS und IBAN-Prüfung für Vereine")
set(CPACK_PACKAGE_DESCRIPTION
    "Das Programm lastora und die Bibliothek liblastora: Mitgliederlisten einlesen, Beiträge \
berechnen, SEPA- und DTAUS-Dateien erzeugen und prüfen. Mit Headern und CMake-Paket für \
C++-Programme, die die Bibliothek nutzen.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lastora-Entwicklung")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Registers liblastora.so.N with ldconfig on installation.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
include(CPack)
