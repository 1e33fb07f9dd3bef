# The Debian package (`make package`, CPack's DEB generator on the release build): both
# programs, the pattern library, the help, the desktop entry, icons, MIME type and metainfo,
# the manual pages and the bash completion, installed under /usr.

# What Debian asks of every package: its copyright and its changelog, compressed.
set(LYRAVANE_DOC_DIR share/doc/lyravane)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${CMAKE_SOURCE_DIR}/packaging/changelog
            ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${LYRAVANE_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides
        RENAME lyravane)

set(LYRAVANE_MAINTAINER "Lyravane maintainers <lyravane@vemora.example.org>" CACHE STRING
    "The Maintainer of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lyravane)
set(CPACK_PACKAGE_VENDOR Vemora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${LYRAVANE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The same modes whatever the umask of the one who builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "composer of short songs, with chords, melody and accompaniment")
set(CPACK_PACKAGE_DESCRIPTION
    "Lyravane composes short songs semi-automatically. It draws chord
progressions, rhythms and melodies by rule, lets you edit and lock them bar by
bar, and fits accompaniment patterns (two backing parts, bass and drums) to the
chords beat by beat. Songs play on FluidSynth with a General MIDI SoundFont and
are exported as Standard MIDI Files, MusicXML scores and WAV, FLAC or Ogg
Vorbis files.

The package holds the desktop program (Qt 6, in Spanish or English) and
lyravane-cli, which composes, exports and renders songs from the command line.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# dpkg-shlibdeps finds the libraries the programs link to (Qt, the C and C++ runtimes, zlib).
# It cannot see those opened on first use: FluidSynth 2.2 or later, libsndfile and libebur128
# (src/audio/FluidHandles.cpp, SoundLibraries.cpp). Without the Qt platform plugins there is
# no window; qtbase_es comes from Qt's translations; the SoundFont is the default one; pattern
# names may be Japanese.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libfluidsynth3 (>= 2.2.0), libsndfile1, libebur128-1, qt6-qpa-plugins, qt6-translations-l10n, fluid-soundfont-gm, fonts-ipaexfont-gothic")
# Another SoundFont for "Opciones" to offer, and MuseScore to open the exported scores.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "musescore-general-soundfont-small | timgm6mb-soundfont, musescore3")

include(CPack)
