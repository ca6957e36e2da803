# Writes OUTPUT, a header defining VB6KIT_REVISION as the git revision of SOURCE_DIR ("" when it
# is no git checkout or GIT is not there), and rewrites it only when the revision changed, so an
# unchanged tree rebuilds nothing.
set(revision "")
if(GIT)
  # The commit's own name, whatever tags there are ("-dirty" when the tree has changes).
  execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" describe --always --dirty --abbrev=12 --exclude=*
                  OUTPUT_VARIABLE described OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(NOT failed)
    set(revision "${described}")
  endif()
endif()
set(text "#define VB6KIT_REVISION \"${revision}\"\n")
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
