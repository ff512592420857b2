# The build's data check on broken copies of the real data sources: each
# copy gets one bad line at its end, and check_data (the command the build
# runs on every installed data file) must fail and name that file and line.
# -DCHECK_DATA=program -DSRC=source dir -DWORK=scratch dir
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(failures "")

# kind, source under data/, the lines appended, how many lines into them the
# loader must stop
function(expect_refused kind source appended offset)
  get_filename_component(name ${source} NAME)
  set(copy ${WORK}/broken-${kind}-${name})
  file(READ ${SRC}/data/${source} text)
  string(REGEX MATCHALL "\n" ends "${text}")
  list(LENGTH ends lines)
  file(WRITE ${copy} "${text}${appended}")
  math(EXPR line "${lines} + ${offset}")
  execute_process(COMMAND ${CHECK_DATA} ${kind} ${copy} RESULT_VARIABLE code ERROR_VARIABLE err)
  if(code EQUAL 0 OR NOT err MATCHES "^${copy}:${line}: ")
    set(failures "${failures}\n  ${kind} ${source}: exit ${code}, expected ${copy}:${line}: got: ${err}" PARENT_SCOPE)
  endif()
  # The unbroken source passes the same check.
  execute_process(COMMAND ${CHECK_DATA} ${kind} ${SRC}/data/${source} RESULT_VARIABLE code ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    set(failures "${failures}\n  ${kind} ${source} itself: ${err}" PARENT_SCOPE)
  endif()
endfunction()

expect_refused(rgr regras.rgr "()=x|\n" 1)
expect_refused(own-exc portug.exc "zzzz=zzzz|\nzzzz=zz|\n" 2)
expect_refused(nrl verna/portug.nrl "(A)=a\nthis is no rule\n" 2)
expect_refused(exc verna/portug.exc "nonsense\n" 1)
expect_refused(abr verna/portug.abr "; more\nnonsense\n" 2)
expect_refused(pro verna/portug.pro "nonsense\n" 1)

if(failures)
  message(FATAL_ERROR "data check:${failures}")
endif()
message("data check: every broken copy refused with its file and line")
