# Writes the manual page arenix.1.gz from the program's own help:
#   cmake -DARENIX=path/to/arenix -DVERSION=x.y.z -DOUT=dir -P man_page.cmake
# The top-level help is the page's body (help2man); the help of `serve`
# and the service's files are added as sections.
execute_process(COMMAND ${ARENIX} serve --help OUTPUT_VARIABLE serve_help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "arenix serve --help failed: ${rc}")
endif()
string(REPLACE "${ARENIX}" "arenix" serve_help "${serve_help}")
string(REPLACE "\\" "\\e" serve_help "${serve_help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" serve_help "${serve_help}")
get_filename_component(out_dir "${OUT}" ABSOLUTE)
file(MAKE_DIRECTORY "${out_dir}")
set(include_file "${out_dir}/arenix.h2m")
file(WRITE "${include_file}" "[SERVING THE MEET]
.nf
${serve_help}.fi
[FILES]
.TP
.I /etc/arenix/arenix.conf
The service's settings (\\fBarenix serve --config\\fR): the meet folder (data), bind, port,
workers, site, log, quiet; one \"key = value\" a line.
.TP
.I /var/lib/arenix/meet
The default meet folder: the meet's tables, written by the service's user \\fBarenix\\fR.
.TP
.I /usr/share/arenix/site
The site: the pages the web module serves.
[SEE ALSO]
.BR systemctl (1),
.BR journalctl (1)
")
execute_process(
  COMMAND help2man --no-info --no-discard-stderr --version-string=${VERSION}
          --name=sports-meet\ web\ module --section=1 --include=${include_file}
          --output=${out_dir}/arenix.1 ${ARENIX}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man failed: ${rc}")
endif()
execute_process(COMMAND gzip -9nf ${out_dir}/arenix.1 RESULT_VARIABLE rc)
file(REMOVE "${include_file}")
