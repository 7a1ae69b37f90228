# Writes the man page of qmpe from the help that qmpe itself prints: the
# top-level --help, then the --help of every command and sub-command listed
# there, so the page says exactly what the program says.
#
#   cmake -DQMPE=path/to/qmpe -DVERSION=1.0.0 -DOUTPUT=qmpe.1 -P write_man_page.cmake

function(help_of out)
  execute_process(COMMAND "${QMPE}" ${ARGN} --help
                  OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "qmpe ${ARGN} --help failed (${status}): ${error}")
  endif()
  # The usage lines name the program as it was called: here, by its path.
  string(REPLACE "${QMPE}" "qmpe" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The names in the help's list of sub-commands: its lines indented by two.
function(subcommands_in help out)
  string(REPLACE ";" "\\;" help "${help}")
  string(REPLACE "\n" ";" lines "${help}")
  set(names)
  set(inside OFF)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[Ss][Uu][Bb][Cc][Oo][Mm][Mm][Aa][Nn][Dd][Ss]:")
      set(inside ON)
    elseif(inside AND line MATCHES "^  ([^ ]+)")
      list(APPEND names "${CMAKE_MATCH_1}")
    elseif(inside AND NOT line MATCHES "^ ")
      set(inside OFF)
    endif()
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# Help text as literal roff lines: backslashes and hyphens escaped, and no
# line may start a request.
function(as_roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} ".nf\n${text}.fi\n" PARENT_SCOPE)
endfunction()

function(document_commands)
  help_of(help ${ARGN})
  subcommands_in("${help}" names)
  foreach(name IN LISTS names)
    help_of(command_help ${ARGN} ${name})
    as_roff("${command_help}" roff)
    set(words qmpe ${ARGN} ${name})
    list(JOIN words " " title)
    file(APPEND "${OUTPUT}.new" ".SS ${title}\n${roff}")
    document_commands(${ARGN} ${name})
  endforeach()
endfunction()

foreach(variable QMPE VERSION OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "write_man_page.cmake needs -D${variable}=...")
  endif()
endforeach()

help_of(help)
string(REGEX MATCH "^[^\n]*" summary "${help}")
string(REGEX REPLACE "^qmpe: *" "" summary "${summary}")
string(REPLACE "-" "\\-" summary "${summary}")
as_roff("${help}" roff)
file(WRITE "${OUTPUT}.new"
  ".TH QMPE 1 \"\" \"qmpecore ${VERSION}\" \"User Commands\"\n"
  ".SH NAME\nqmpe \\- ${summary}\n"
  ".SH SYNOPSIS\n.B qmpe\n.I COMMAND\n[\\fIOPTIONS\\fR] [\\fIARGUMENTS\\fR]\n"
  ".br\n.B qmpe \\-\\-version\n"
  ".SH DESCRIPTION\n${roff}"
  ".SH COMMANDS\n")
document_commands()
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
