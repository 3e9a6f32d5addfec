# The tavrin command-line tool on real files: a summary of a text network
# file and of its image, conversions both ways back to the same text, and
# failures reported with the engine's message and exit status 1.
#   cmake -DTAVRIN=<tool> -DDATA=<dir of small.net> -DWORK=<scratch dir> -P tavrin_cli_test.cmake

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run expected_status)
  execute_process(COMMAND ${TAVRIN} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expected_status)
    message(FATAL_ERROR "tavrin ${ARGN}: status ${status}, expected ${expected_status}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect text pattern)
  string(FIND "${text}" "${pattern}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected \"${pattern}\" in:\n${text}")
  endif()
endfunction()

run(0 --help)
expect("${out}" "net-code NETFILE OUT")
expect("${out}" "net-run NETFILE")
expect("${out}" "net-dump FILE")
expect("${out}" "net-image IN OUT")
expect("${out}" "net-text IN OUT")
expect("${out}" "data-convert IN OUT --from F --to F")
expect("${out}" "data-dump FILE")

run(0 net-dump ${DATA}/small.net)
expect("${out}" "(text network file)")
expect("${out}" "Kind: MLP")
expect("${out}" "layer 2: 3 units, width 1, activation Logistic, PSP Linear, 1 named, 1 with a class")
expect("${out}" "weights from layer 1: 3 x 2")
expect("${out}" "output 1 \"Grade\": Two-state, missing Median")
expect("${out}" "nominal values: \"low\" \"high\"")
expect("${out}" "Substitutes: 0.25 ? 1")

run(0 net-image ${DATA}/small.net ${WORK}/small.img)
run(0 net-dump ${WORK}/small.img)
expect("${out}" "(binary network image)")
expect("${out}" "Kind: MLP")

run(0 net-text ${WORK}/small.img ${WORK}/back.net)
file(READ ${DATA}/small.net original)
file(READ ${WORK}/back.net back)
if(NOT original STREQUAL back)
  message(FATAL_ERROR "the text network file changed through its image")
endif()

run(1 net-dump ${WORK}/absent.net)
expect("${err}" "Cannot open network file for reading")

file(WRITE ${WORK}/damaged.net "# Tavrin v3.0 Network\n\ntype MLP\n")
run(1 net-image ${WORK}/damaged.net ${WORK}/damaged.img)
expect("${err}" "File created by a later version of Tavrin; cannot open")
if(EXISTS ${WORK}/damaged.img)
  message(FATAL_ERROR "a failed conversion left an output file")
endif()

file(WRITE ${WORK}/short.img "short")
run(1 net-text ${WORK}/short.img ${WORK}/short.net)
expect("${err}" "Unexpected end of file while reading network file")

run(1 frobnicate)
expect("${err}" "unknown command")
run(1 net-text ${WORK}/small.img)

# Data sets: the sample iris table through every format and back to text.
run(0 data-dump ${SAMPLES}/iris.csv --rows 2)
expect("${out}" "5 variables (5 inputs, 0 outputs), 150 cases (150 training")
expect("${out}" "5 species  input  nominal: setosa versicolor virginica")
expect("${out}" "1 [training]: 5.1 3.5 1.4 0.2 setosa")
# The text export writes "%.7g" (3.0 becomes 3): compare with the table as the
# text format itself writes it.
run(0 data-convert ${SAMPLES}/iris.csv ${WORK}/iris.canonical --from text --to text)
set(previous ${SAMPLES}/iris.csv)
set(previous_format text)
foreach(format binary pattern host text)
  run(0 data-convert ${previous} ${WORK}/iris.${format} --from ${previous_format} --to ${format})
  set(previous ${WORK}/iris.${format})
  set(previous_format ${format})
endforeach()
file(READ ${WORK}/iris.canonical original)
file(READ ${WORK}/iris.text back)
string(TOUPPER "${original}" original_upper)
# Host data files hold upper-case names of 8 characters at most.
string(REPLACE "SEPAL_LENGTH" "SEPAL_LE" original_upper "${original_upper}")
string(REPLACE "SEPAL_WIDTH" "SEPAL_WI" original_upper "${original_upper}")
string(REPLACE "PETAL_LENGTH" "PETAL_LE" original_upper "${original_upper}")
string(REPLACE "PETAL_WIDTH" "PETAL_WI" original_upper "${original_upper}")
string(TOUPPER "${back}" back_upper)
if(NOT original_upper STREQUAL back_upper)
  message(FATAL_ERROR "the iris table changed through the formats:\n${back}")
endif()
run(1 data-convert ${WORK}/absent.csv ${WORK}/x.bin --from text --to binary)
expect("${err}" "Cannot open Data Set file for reading")
run(1 data-convert ${SAMPLES}/iris.csv ${WORK}/x.bin --from text)
expect("${err}" "needs --from and --to")
run(1 data-dump ${SAMPLES}/iris.csv --format spreadsheet)
expect("${err}" "unknown format 'spreadsheet'")

# What is not a file is refused in one line, whatever the format.
foreach(format text pattern binary)
  run(1 data-dump ${WORK} --format ${format})
  expect("${err}" "Cannot open Data Set file for reading: ")
  expect("${err}" ": Is a directory")
endforeach()

# Pipes work where the format reads in one pass, both ways; a device is
# written into, never replaced.
find_program(BASH bash REQUIRED)
execute_process(COMMAND ${BASH} -c "\"${TAVRIN}\" net-dump <(cat \"${DATA}/small.net\")"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect("${status}:${out}" "0:File: /dev/fd/")
execute_process(COMMAND ${BASH} -c "\"${TAVRIN}\" net-text <(cat \"${WORK}/small.img\") /dev/stdout"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect("${status}:${out}" "0:# Tavrin v")
execute_process(COMMAND ${BASH} -c
  "\"${TAVRIN}\" data-convert <(cat \"${SAMPLES}/iris.csv\") /dev/stdout --from text --to pattern"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect("${status}:${out}" "0:# Tavrin v1.0 Patterns")
run(1 data-convert ${SAMPLES}/iris.csv /dev/full --from text --to pattern)
expect("${err}" "full: No space left on device")

# Separators of input and output apart, warnings shown, and separators that
# would split numbers refused.
file(WRITE ${WORK}/semi.csv "a|b\n1,5|x\nNA|y\n2|z\n")
run(0 data-convert ${WORK}/semi.csv ${WORK}/semi.tsv --from text --to text
  --from-separator | --to-separator tab)
file(READ ${WORK}/semi.tsv tsv)
expect("${tsv}" "a\tb\n")
run(0 data-dump ${WORK}/semi.csv --separator |)
expect("${err}" "tavrin: warning: Variable a: 2 entries that are not numbers were read as missing")
expect("${out}" "3 [training]: 2 z")
run(1 data-convert ${SAMPLES}/iris.csv ${WORK}/x.csv --from text --to text --to-separator .)
expect("${err}" "The separator cannot be a character of a number")

# A network set of three networks (MLP, RBF, Linear; the second current).
run(0 --help)
expect("${out}" "net-code NETFILE OUT")
expect("${out}" "net-run NETFILE")
expect("${out}" "set-dump FILE")
expect("${out}" "set-extract FILE N OUT")
run(0 set-dump ${DATA}/three.bnt)
expect("${out}" "Network set: 3 of 3 networks, current 2, next id 4")
expect("${out}" "When full: replace by trade-off")
expect("${out}" "Network 2 (id 2, locked)")
expect("${out}" "comment: \"best\"")
expect("${out}" "kind: RBF (type code 1)")
expect("${out}" "history: \"CG5\"")
run(0 set-extract ${DATA}/three.bnt 1 ${WORK}/first.net)
run(0 net-dump ${WORK}/first.net)
expect("${out}" "Kind: MLP")
run(1 set-extract ${DATA}/three.bnt 4 ${WORK}/fourth.net)
expect("${err}" "The network number is not a network of this set")
if(EXISTS ${WORK}/fourth.net)
  message(FATAL_ERROR "a refused extraction left a file")
endif()
run(1 set-dump ${WORK}/absent.bnt)
expect("${err}" "Could not open network file for reading")

# A network as C source: its harness reads and writes rows as net-run does.
file(WRITE ${WORK}/rows.txt "0.1 0.2\n1,2\n\n?, 3\n-5 7\n0.3 nan\n")
run(0 net-code ${WORK}/small.img ${WORK}/small.c --prefix small_ --harness)
execute_process(COMMAND ${CC} -std=c99 -O2 -ffp-contract=off ${WORK}/small.c -o ${WORK}/small -lm
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the generated source did not compile")
endif()
foreach(type 0 1)
  execute_process(COMMAND ${TAVRIN} net-run ${DATA}/small.net --output-type ${type}
    INPUT_FILE ${WORK}/rows.txt OUTPUT_VARIABLE engine)
  execute_process(COMMAND ${WORK}/small ${type} INPUT_FILE ${WORK}/rows.txt OUTPUT_VARIABLE compiled)
  string(REGEX MATCHALL "\n" rows "${engine}")
  list(LENGTH rows count)
  if(NOT engine STREQUAL compiled OR NOT count EQUAL 5)
    message(FATAL_ERROR "output type ${type}: net-run gave\n${engine}the compiled network\n${compiled}")
  endif()
endforeach()
execute_process(COMMAND ${TAVRIN} net-run ${DATA}/small.net --output-type 3
  INPUT_FILE ${WORK}/rows.txt OUTPUT_VARIABLE winners)
expect("${winners}" "3\n3\n3\n3\n3\n")

file(WRITE ${WORK}/bad_rows.txt "1 2\n1 2 3\n")
execute_process(COMMAND ${TAVRIN} net-run ${DATA}/small.net INPUT_FILE ${WORK}/bad_rows.txt
  RESULT_VARIABLE status ERROR_VARIABLE err)
expect("${status}${err}" "1line 2: 3 values, expected 2")
run(1 net-run ${DATA}/small.net --output-type 5)
run(1 net-code ${DATA}/small.net ${WORK}/bad.c --prefix 9x)
expect("${err}" "The name prefix must be a C identifier")
run(1 net-code ${DATA}/small.net ${WORK}/bad.c --template ${WORK}/rows.txt)
expect("${err}" "Processing failed")
if(EXISTS ${WORK}/bad.c)
  message(FATAL_ERROR "a refused generation left a file")
endif()
