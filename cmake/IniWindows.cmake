# Makes the installer's zelp.ini from the Debian package's (pacote/zelp.ini): the same text, with the
# paths of a Windows till and CR LF line ends. Folders become relative to the folder of zelp.ini
# (C:\ProgramData\ZELP as installed), where the service and the Start menu's window run.
# cmake -DORIGEM=pacote/zelp.ini -DDESTINO=zelp.ini -P IniWindows.cmake
file(READ ${ORIGEM} texto)

# The check of a configuration, as an administrator runs it on the till.
string(REGEX REPLACE ", as the service's user:" ":" texto "${texto}")
string(REGEX REPLACE "runuser -u zelp -- zelpd ([^\n]*)-C /etc/zelp"
       "\"C:\\\\Program Files\\\\ZELP\\\\zelpd.exe\" \\1-C C:\\\\ProgramData\\\\ZELP" texto "${texto}")
# Folders and establishment files, below the data folder.
string(REPLACE "/var/lib/zelp/" "" texto "${texto}")
string(REPLACE "/var/log/zelp" "log" texto "${texto}")
string(REGEX REPLACE "(\n;?par[0-9]=)estab/" "\\1estab\\\\" texto "${texto}")
string(REPLACE "\n[Diretorios]\n"
       "\n[Diretorios]\n; Folders are taken from the folder of this file (C:\\ProgramData\\ZELP as installed).\n"
       texto "${texto}")
# The till's gateway deletes the requests it has answered.
string(REGEX REPLACE "\nLog=0" "\nLog=1" texto "${texto}")

foreach(unix "/var/" "/etc/" "runuser")
  string(FIND "${texto}" "${unix}" onde)
  if(NOT onde EQUAL -1)
    message(FATAL_ERROR "${ORIGEM} has a Linux path (${unix}) that IniWindows.cmake does not translate")
  endif()
endforeach()
if(NOT texto MATCHES "\nLog=1")
  message(FATAL_ERROR "${ORIGEM} has no Log=1 under [Deleta]")
endif()

string(REPLACE "\r\n" "\n" texto "${texto}")
string(REPLACE "\n" "\r\n" texto "${texto}")
file(WRITE ${DESTINO} "${texto}")
