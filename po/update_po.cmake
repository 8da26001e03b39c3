# Run by the update-po target: every string of src/ in _() or N_(), and the translatable
# words of the desktop entry and the metainfo, into po/billboard-brawl.pot; then each
# catalog of LINGUAS takes the new strings (msgmerge keeps its translations).
find_program(XGETTEXT xgettext REQUIRED)
find_program(MSGMERGE msgmerge REQUIRED)

set(pot ${SOURCE_DIR}/po/billboard-brawl.pot)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
list(SORT sources)
set(common --from-code=UTF-8 --add-comments=TRANSLATORS: --sort-by-file --package-name=billboard-brawl
           --package-version=${VERSION} --copyright-holder=The\ Billboard\ Brawl\ developers)
execute_process(
  COMMAND ${XGETTEXT} ${common} --language=C++ --keyword=_ --keyword=N_ -o ${pot}.new ${sources}
  WORKING_DIRECTORY ${SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
# The catalogs are UTF-8, as their sources are.
file(READ ${pot}.new header)
string(REPLACE "charset=CHARSET" "charset=UTF-8" header "${header}")
file(WRITE ${pot}.new "${header}")
execute_process(
  COMMAND ${XGETTEXT} ${common} --join-existing --language=Desktop -o ${pot}.new dist/brawl.desktop.in
  WORKING_DIRECTORY ${SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND ${XGETTEXT} ${common} --join-existing --its=/usr/share/gettext/its/metainfo.its -o ${pot}.new
          dist/metainfo.xml.in
  WORKING_DIRECTORY ${SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${pot}.new ${pot})

file(STRINGS ${SOURCE_DIR}/po/LINGUAS languages REGEX "^[^#]")
foreach(language ${languages})
  execute_process(COMMAND ${MSGMERGE} --quiet --update --backup=none --no-fuzzy-matching --sort-by-file
                          ${SOURCE_DIR}/po/${language}.po ${pot}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
