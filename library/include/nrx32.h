/*
 * nrx32: the Tavrin neural-network engine behind a flat C interface.
 *
 * Handles. Networks live in 64 slots numbered 0 to 63. NRXCreateNetwork and
 * NRXCopyNetwork fill a slot and return its number (the handle "net" below);
 * NRXFreeNetwork empties it. Data sets live in 64 slots of their own (the
 * handle "ds"), filled by NRXCreateDataSet and NRXCopyDataSet and emptied by
 * NRXFreeDataSet. Handles stay valid until freed; nothing is freed behind the
 * caller's back.
 *
 * Results. Functions that fill a slot return the slot number, or -1 on
 * failure. Every other function returns 1 on success and 0 on failure and
 * delivers values through pointer arguments (integers as int32_t, reals as
 * double, texts copied into caller buffers). Out-arguments are written only on
 * success; the exceptions (NRXGetNetworkErrorFunction, the data set count and
 * name getters, the training functions) are noted beside them.
 *
 * Error text. A failure records one message (at most 128 characters) that
 * NRXErrorMessage copies out. A success never clears it, so read it only right
 * after a failure. Every message a function can leave is listed beside it;
 * the first one that applies wins, in the order given.
 *
 * Common checks, in this order, for every function taking "net":
 *   "Network index out of range"         net below 0 or above 63;
 *   "No network loaded with this index"  the slot is empty (some functions say
 *                                        "No Network ..." with a capital N: noted
 *                                        beside them);
 *   "Layer number out of range"          layer below 0 or not below the layer count;
 *   "Unit number out of range"           unit below 0 or not below the layer's units;
 *   "Variable number out of range"       variable outside 0 .. inputs + outputs - 1;
 *   "Output argument cannot be NULL"     a null out-argument for a number.
 * Functions taking "ds" check it the same way, after "net" when they take
 * both:
 *   "Data Set index out of range"        ds below 0 or above 63;
 *   "No Data Set loaded with this index" the slot is empty.
 * Any function can also fail with "Not enough memory to perform operation"
 * (or the more specific memory text noted beside it), and, should the engine
 * fail in a way it does not expect, with "Internal error: unexpected failure";
 * in both cases the network (and data set) is left as it was.
 *
 * Missing values. NRXMissingValue() returns the number that marks a missing
 * value in every input and output array.
 *
 * Buffers. The library never learns a buffer's size, so callers must provide
 * at least NRX_ERROR_BUFFER_SIZE bytes for the error text and
 * NRX_NAME_BUFFER_SIZE bytes for any name. Each buffer must hold the text and
 * its terminating NUL. Names longer than NRX_MAX_NAME_LENGTH characters are
 * refused when set; the getters never write more than NRX_NAME_BUFFER_SIZE
 * bytes.
 *
 * Variables are numbered inputs first, then outputs. Raw input arrays hold,
 * for each input variable in order, "steps" values, oldest first: a number, a
 * nominal value number 1 .. k, or the missing value.
 *
 * Threads. The library keeps one process-wide state and no locks: callers
 * must not call it from several threads at once.
 *
 * Every function also exists as _NRXC<Name> (for NRX<Name>), with the same
 * arguments and result and the C calling convention; see the end of this file.
 */
#ifndef NRX32_H
#define NRX32_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define NRX_API __declspec(dllexport)
#define NRX_CALL __stdcall
#elif defined(__GNUC__)
#define NRX_API __attribute__((visibility("default")))
#define NRX_CALL
#else
#define NRX_API
#define NRX_CALL
#endif

/* Bytes a caller's buffer for the error text must hold: 128 characters and NUL. */
#define NRX_ERROR_BUFFER_SIZE 129
/* The longest unit, variable or nominal name the library stores. */
#define NRX_MAX_NAME_LENGTH 255
/* Bytes a caller's buffer for any name must hold: the longest name and NUL. */
#define NRX_NAME_BUFFER_SIZE 256
/* The longest history or comment text of a network set entry, and the bytes
 * a caller's buffer for one must hold: the longest text and NUL. */
#define NRX_MAX_SET_TEXT_LENGTH 4095
#define NRX_SET_TEXT_BUFFER_SIZE 4096

/* Network design codes of NRXCreateNetwork. */
#define NRX_DESIGN_MLP 0
#define NRX_DESIGN_KOHONEN 1
#define NRX_DESIGN_RBF 2
#define NRX_DESIGN_LINEAR 3
#define NRX_DESIGN_PNN 4
#define NRX_DESIGN_GRNN 5

/* Output types of NRXRunNetwork (0 .. 3) and NRXRunNetworkFromDataSet (0 .. 4). */
#define NRX_OUTPUT_DECODED 0
#define NRX_OUTPUT_ACTIVATIONS 1
#define NRX_OUTPUT_WINNER_WEIGHTS 2
#define NRX_OUTPUT_LAYER1_WINNER 3
#define NRX_OUTPUT_LAYER1_SMALLEST 4

/* Case types (subsets) of a data set's cases. */
#define NRX_CASE_TRAINING 0
#define NRX_CASE_VERIFICATION 1
#define NRX_CASE_TEST 2
#define NRX_CASE_IGNORED 3

/* Variable types (roles) of a data set's variables. */
#define NRX_VARIABLE_INPUT 0
#define NRX_VARIABLE_OUTPUT 1
#define NRX_VARIABLE_BOTH 2
#define NRX_VARIABLE_IGNORED 3

/* The version of this interface: a new major version may change what a call
 * means; a new minor version only adds. NRXVersion() gives the version of the
 * library actually loaded, NRX_VERSION that of this header. */
#define NRX_VERSION_MAJOR 1
#define NRX_VERSION_MINOR 1
#define NRX_VERSION_PATCH 0
#define NRX_VERSION (NRX_VERSION_MAJOR * 10000 + NRX_VERSION_MINOR * 100 + NRX_VERSION_PATCH)

/* Methods of NRXReinitializeNetwork. */
#define NRX_REINIT_UNIFORM 0
#define NRX_REINIT_GAUSSIAN 1
#define NRX_REINIT_NORMALISED_UNIFORM 2
#define NRX_REINIT_ZERO 3

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------
 * Library frame
 * ------------------------------------------------------------------------ */

/* NRXErrorMessage: copies the last error text into `buffer`.
 *   buffer  caller-owned, at least NRX_ERROR_BUFFER_SIZE (129) bytes; receives
 *           at most 128 characters and a NUL (the empty text before any failure).
 * Returns 1; 0 only when `buffer` is null, in which case nothing is written
 * and the error text is kept as it was. Records no message. */
NRX_API int32_t NRX_CALL NRXErrorMessage(char* buffer);

/* NRXMissingValue: the double that marks a missing value in every array of
 * this interface, 1.1754943508222875e-38 (the smallest normal single-precision
 * value). Never fails. */
NRX_API double NRX_CALL NRXMissingValue(void);

/* NRXRequestStop: asks the long call in progress (a training call) to stop at
 * its next poll; training polls after every epoch, ends there as if its
 * epochs were done (returning 1 with that epoch's errors, and with retain
 * best the best network) and clears the request. A request made while no
 * long call runs stops the next one after its first epoch. Safe to call from
 * a signal handler or from another thread while a call runs in this one; it
 * takes no lock, allocates nothing and records no message. */
NRX_API void NRX_CALL NRXRequestStop(void);

/* NRXVersion: the loaded library's version in the form of NRX_VERSION
 * (major x 10000 + minor x 100 + patch), so that a caller can check that it
 * has the library its header describes. Never fails. */
NRX_API int32_t NRX_CALL NRXVersion(void);

/* ------------------------------------------------------------------------
 * Data sets
 * A data set is a table of cases (rows, numbered from 0) by variables
 * (columns, numbered from 0) of doubles. Each variable has a type (input,
 * output, both or ignored: NRX_VARIABLE_*), each case a type (training,
 * verification, test or ignored: NRX_CASE_*). A missing entry holds
 * NRXMissingValue(); a nominal variable's entries are value numbers 1 .. k.
 * A data set always keeps at least one case and one variable.
 * ------------------------------------------------------------------------ */

/* NRXCreateDataSet: a new data set in the lowest free data set slot; returns
 * the slot, or -1. It has no_inputs input variables followed by no_outputs
 * output variables, named "VAR1", "VAR2", ..., and one training case, without
 * a name, whose entries are all missing.
 * Messages, in order: "Too many Data Sets loaded", "Number of inputs out of
 * bounds" (below 0), "Number of outputs out of bounds" (below 0), "A Data Set
 * must have at least one variable" (both 0), "Not enough memory to perform
 * operation". */
NRX_API int32_t NRX_CALL NRXCreateDataSet(int32_t no_inputs, int32_t no_outputs);

/* NRXCopyDataSet: puts a deep copy of data set `ds` into the lowest free slot
 * and returns that slot, or -1 with "Data Set index out of range", "No Data
 * Set loaded with this index", "Too many Data Sets loaded" or "Not enough
 * memory to perform operation". */
NRX_API int32_t NRX_CALL NRXCopyDataSet(int32_t ds);

/* NRXLoadDataSet: reads a data set file into the lowest free data set slot and
 * returns that slot, or -1. `file` is the file's name (not null). `format`:
 * 0 the host package's data file, 1 the binary data set file, 2 delimited
 * text, 3 the text pattern file. For format 2 only: `case_names` nonzero when
 * the first column holds case names, `header` nonzero when the first row holds
 * variable names (a first data column headed "NNTYPE" then gives the subsets:
 * "VERIFY", "TEST", "IGNORE", anything else training), `separator` the field
 * separator (a blank makes runs of blanks one separator; not a digit, ".",
 * "+", "-", "e", "E", a double quote or a line end), `missing` the text a
 * missing field begins with (null or empty: "?"); an empty field is missing.
 * A field in double quotes is one field whatever it holds ("" inside stands
 * for a quote) and is always text. A column is nominal when every field in it
 * is text (words or quoted), its names in the order they first appear; in a
 * column that also holds numbers the words read as missing, and a warning
 * naming the variable and the count is left in the error text. A UTF-8
 * byte-order mark at the start is skipped.
 * Delimited text gives inputs only, every case training unless "NNTYPE" says
 * otherwise. A host data file's variables are inputs unless the variable's long
 * name ends in " [output]", " [both]" or " [ignored]" (as NRXSaveDataSet writes
 * them; the tag is taken off), and a tag "[name: <name>]" before it gives the
 * variable's whole name; value labels become nominal names (a long label,
 * where there is one, being the whole name; "v<i>" for a value without one)
 * when every label's value and every value present is a whole number from 1
 * to the largest labelled value, and otherwise the variable stays numeric and
 * a warning naming it is left in the error text although the call succeeds;
 * a first variable "NNSET" holds the subsets (1 training, 2 verification,
 * 3 test, 4 ignore, anything else training) and is not kept as a variable.
 * Messages: "Too many Data Sets loaded", "No input file name given",
 * "Unrecognised Data Set Format", "Cannot open Data Set file for reading"
 * (followed by the file's name and the system's reason, as are the other
 * messages of failed file operations), "The separator cannot be a character
 * of a number, a quote or a line end", each format's own refusals (for example "Cannot open Data
 * Set file: incorrect header", "Unexpected end of file while reading data file", "Cannot read data
 * file: not in the correct format", "Cannot read KALVIMETRA data file"), "Not enough memory to load
 * Data Set". For a host data file a failure the system explains goes on with ": <file>: <the
 * system's reason>" (for example "Cannot open Data Set file for reading: iris.kvm: No such file or
 * directory"). A delimited file whose rows differ in length is still read (short rows are missing
 * at the end), leaving "The rows in the data file contain an inconsistent number of columns. ..."
 * in the error text although the call succeeds. */
NRX_API int32_t NRX_CALL NRXLoadDataSet(const char* file, int32_t format, int32_t case_names,
                                        int32_t header, char separator, const char* missing);

/* NRXSaveDataSet: writes data set `ds` to `file` in `format` (as
 * NRXLoadDataSet). The file is written under a temporary name in the same
 * directory and renamed over `file` only when complete, so a failed save
 * leaves an existing file as it was. For format 2 only: `case_names` writes a
 * first column of case names (a case without one gets its number, "%02d"),
 * `header` a first row of names, `subsets` a column "NNTYPE" of "TRAIN",
 * "VERIFY", "TEST" or "IGNORE", `separator` the field separator; values are
 * written with "%.7g" where that reads back exactly and with as many more
 * digits as that takes otherwise, nominal entries as their names and missing
 * ones as "?"; a name or value name that would read back otherwise (holding
 * the separator or a quote, blanks at its ends, or looking like a number) is
 * written in double quotes. Text files (formats 2 and 3) write every number
 * so that it reads back exactly. Entries delimited text cannot carry (NaN,
 * infinities, a nominal variable's entry that is not one of its value
 * numbers) leave a warning in the error text. Names that a format cannot
 * carry (a line break in delimited text; a line break, "={", "," or "}" in a
 * pattern file; a nominal name over 40 characters in a host file) are refused
 * rather than written wrongly. A `file` that is a pipe or a character device
 * is written into directly; an existing file keeps its permissions. Host data files hold
 * 8-character upper-case variable names and case names of at most 20
 * characters; longer ones are cut. Variable names that come out the same
 * there (or as the subset column "NNSET") are told apart by a counter in the
 * tail, and names the host refuses get generated ones; the whole name of
 * each then rides in the long name as "[name: <name>]" and is read back.
 * Messages: the data set checks, "No output file name given", "File format
 * out of range", "Couldn't open specified file for writing" (for a host data
 * file followed, where the system gave a reason, by ": <file>: <reason>",
 * for example ": iris.kvm: No space left on device"), the refusals above. */
NRX_API int32_t NRX_CALL NRXSaveDataSet(int32_t ds, const char* file, int32_t format,
                                        int32_t case_names, int32_t header, int32_t subsets,
                                        char separator);

/* NRXFreeDataSet: destroys data set `ds` and empties its slot.
 * Messages: the data set checks. */
NRX_API int32_t NRX_CALL NRXFreeDataSet(int32_t ds);

/* NRXGetDataNoVariables, NRXGetDataNoInputs, NRXGetDataNoOutputs,
 * NRXGetDataNoCases, NRXGetDataNoTraining, NRXGetDataNoVerification,
 * NRXGetDataNoTest: a count into *count. Inputs count the variables of type
 * input or both, outputs those of type output or both; the three case counts
 * leave ignored cases out. Unlike other getters these set *count to 0 on any
 * failure (when it is not null).
 * Messages: the data set checks, "Output argument cannot be NULL". */
NRX_API int32_t NRX_CALL NRXGetDataNoVariables(int32_t ds, int32_t* count);
NRX_API int32_t NRX_CALL NRXGetDataNoInputs(int32_t ds, int32_t* count);
NRX_API int32_t NRX_CALL NRXGetDataNoOutputs(int32_t ds, int32_t* count);
NRX_API int32_t NRX_CALL NRXGetDataNoCases(int32_t ds, int32_t* count);
NRX_API int32_t NRX_CALL NRXGetDataNoTraining(int32_t ds, int32_t* count);
NRX_API int32_t NRX_CALL NRXGetDataNoVerification(int32_t ds, int32_t* count);
NRX_API int32_t NRX_CALL NRXGetDataNoTest(int32_t ds, int32_t* count);

/* NRXGetDataVariableName / NRXSetDataVariableName: a variable's name.
 * Get copies it (the empty text when it has none) into `buffer`,
 * caller-owned, at least NRX_NAME_BUFFER_SIZE bytes; after a failure a
 * non-null buffer holds the empty text. Set stores a copy of `name`; null or
 * empty clears it.
 * Messages: the data set checks, "Variable number out of range"; get: "To
 * retrieve a variable name you must allocate some space"; set: "Name too
 * long: at most 255 characters", "Not enough memory to store variable name". */
NRX_API int32_t NRX_CALL NRXGetDataVariableName(int32_t ds, int32_t variable, char* buffer);
NRX_API int32_t NRX_CALL NRXSetDataVariableName(int32_t ds, int32_t variable, const char* name);

/* NRXGetDataCaseName / NRXSetDataCaseName: a case's name, as for variables.
 * Messages: the data set checks, "Case number out of range"; get: "To
 * retrieve a case name you must allocate some space"; set: "Name too long: at
 * most 255 characters", "Not enough memory to store case name". */
NRX_API int32_t NRX_CALL NRXGetDataCaseName(int32_t ds, int32_t c, char* buffer);
NRX_API int32_t NRX_CALL NRXSetDataCaseName(int32_t ds, int32_t c, const char* name);

/* NRXGetDataCase / NRXSetDataCase: copies the first n entries of case `c` out
 * of or into `values` (caller-owned, n doubles), where n is the number of
 * inputs plus the number of outputs (NRXGetDataNoInputs + NRXGetDataNoOutputs,
 * a variable of type both counting twice), but never more than the number of
 * variables. The entries are the first n columns in order, whatever their
 * types.
 * Messages: the data set checks, "Case number out of range"; get: "Output
 * array cannot be NULL"; set: "Input array cannot be NULL", "Data value is
 * not a finite number" (a NaN or infinite value: nothing is written; give a
 * missing entry as NRXMissingValue()). */
NRX_API int32_t NRX_CALL NRXGetDataCase(int32_t ds, int32_t c, double* values);
NRX_API int32_t NRX_CALL NRXSetDataCase(int32_t ds, int32_t c, const double* values);

/* NRXGetDataEntry / NRXSetDataEntry: the entry of case `c`, variable
 * `variable`. Messages: the data set checks, "Data number out of range" (case
 * or variable), get: "Output argument cannot be NULL", set: "Data value is
 * not a finite number". */
NRX_API int32_t NRX_CALL NRXGetDataEntry(int32_t ds, int32_t c, int32_t variable, double* value);
NRX_API int32_t NRX_CALL NRXSetDataEntry(int32_t ds, int32_t c, int32_t variable, double value);

/* NRXAddDataVariables: inserts `count` (>= 1) variables before variable
 * `position` (0 .. variables - 1), or after the last one when position is -1.
 * New variables are numeric, missing in every case, named "VAR<n>" with n
 * their 1-based position, and take the type of the variable just before the
 * insertion point (with position 0, of the variable they are inserted before;
 * with -1, of the last variable).
 * Messages: the data set checks, "Variable number out of range", "Number of
 * variables out of range", "Not enough memory to perform operation". */
NRX_API int32_t NRX_CALL NRXAddDataVariables(int32_t ds, int32_t position, int32_t count);

/* NRXDeleteDataVariables: deletes variables position .. position + count - 1,
 * or the last `count` variables when position is -1.
 * Messages: the data set checks, "Variable number out of range" (position
 * outside -1 .. variables - 1), "Number of variables out of range" (count
 * below 1 or past the last variable), "Cannot remove all variables from Data
 * Set". */
NRX_API int32_t NRX_CALL NRXDeleteDataVariables(int32_t ds, int32_t position, int32_t count);

/* NRXAddDataCases: inserts `count` (>= 1) cases before case `position`
 * (0 .. cases - 1), or after the last one when position is -1. New cases are
 * missing throughout, have no name and take the type of the case just before
 * them (training at position 0).
 * Messages: the data set checks, "Case number out of range", "Number of cases
 * out of range" (count below 1), "Cannot create any more cases: maximum
 * (536870912) reached", "Not enough memory to perform operation". */
NRX_API int32_t NRX_CALL NRXAddDataCases(int32_t ds, int32_t position, int32_t count);

/* NRXDeleteDataCases: deletes cases position .. position + count - 1, or the
 * last `count` cases when position is -1.
 * Messages: the data set checks, "Case number out of range", "Number of Cases
 * out of range" (capital C: count below 1 or past the last case), "Cannot Cut
 * all cases". */
NRX_API int32_t NRX_CALL NRXDeleteDataCases(int32_t ds, int32_t position, int32_t count);

/* NRXGetDataCaseType: the type (NRX_CASE_*) of case `c`.
 * NRXSetDataCaseTypes: gives cases first .. first + count - 1 the type
 * `code`; the case counts follow.
 * Messages: the data set checks, "Case number out of range"; get: "Output
 * argument cannot be NULL"; set: "Number of Cases out of range" (capital C:
 * count below 1 or past the last case), "Case type out of range" (code
 * outside 0 .. 3). */
NRX_API int32_t NRX_CALL NRXGetDataCaseType(int32_t ds, int32_t c, int32_t* code);
NRX_API int32_t NRX_CALL NRXSetDataCaseTypes(int32_t ds, int32_t first, int32_t count,
                                             int32_t code);

/* NRXGetDataVariableType: the type (NRX_VARIABLE_*) of a variable.
 * NRXSetDataVariableTypes: gives variables first .. first + count - 1 the
 * type `code`; the input and output counts follow (both counts in each).
 * Messages: the data set checks; get: "Case number out of range" (sic: a bad
 * variable number), "Output argument cannot be NULL"; set: "Variable number
 * out of range", "Number of Variables out of range" (capital V), "Variable
 * type out of range" (code outside 0 .. 3). */
NRX_API int32_t NRX_CALL NRXGetDataVariableType(int32_t ds, int32_t variable, int32_t* code);
NRX_API int32_t NRX_CALL NRXSetDataVariableTypes(int32_t ds, int32_t first, int32_t count,
                                                 int32_t code);

/* NRXGetDataNoNominals / NRXSetDataNoNominals: a variable's number of nominal
 * values (0 = numeric). Setting keeps the existing names, adds "v<number>"
 * names (value k named "vk", or the next such name no value has) or drops
 * names from the end; the entries are not changed.
 * Messages: the data set checks, "Variable number out of range"; get: "Output
 * argument cannot be NULL"; set: "Number of nominal values out of range"
 * (below 0), "Not enough memory to add nominals" (more than 1048576). */
NRX_API int32_t NRX_CALL NRXGetDataNoNominals(int32_t ds, int32_t variable, int32_t* count);
NRX_API int32_t NRX_CALL NRXSetDataNoNominals(int32_t ds, int32_t variable, int32_t count);

/* NRXGetDataNominal / NRXSetDataNominal: the name of nominal value `value`
 * (0-based: value 0 names value number 1) of a variable. Get copies it into
 * `buffer`, caller-owned, at least NRX_NAME_BUFFER_SIZE bytes; set stores a
 * copy of `name`.
 * Messages: the data set checks, "Variable number out of range", "Nominal
 * number out of range"; get: "To retrieve a nominal name you must allocate
 * some space"; set: "Blank nominal names are not permitted" (null, empty or
 * only blanks), "Nominal value names of a variable must differ" (another
 * value has the name), "Name too long: at most 255 characters", "Not enough
 * memory to copy nominal name". */
NRX_API int32_t NRX_CALL NRXGetDataNominal(int32_t ds, int32_t variable, int32_t value,
                                           char* buffer);
NRX_API int32_t NRX_CALL NRXSetDataNominal(int32_t ds, int32_t variable, int32_t value,
                                           const char* name);

/* NRXShuffleDataSet: re-deals or regroups the case types, using the engine's
 * random generator (its sequence is the same in every process).
 *   mode 0  the training and verification types are dealt at random over
 *           the cases that have them, keeping both counts;
 *   mode 1  the same over training, verification and test cases;
 *   mode 2  the same over all cases, except that ignored cases before case
 *           steps + lookahead - 1 of the active network stay ignored. The
 *           active network is the one of the last call that made one
 *           active: NRXCreateNetwork, NRXAppendNetwork, the edits that
 *           resize a layer (units, layers, variables, nominal counts,
 *           conversions, steps), NRXRunNetworkFromDataSet,
 *           NRXCalculateScaleFactors and the training calls. With none, or
 *           once it is freed, no ignored case is held back;
 *   mode 3  cases (entries, names, types) are moved into the order training,
 *           verification, test, ignored, keeping their order within each;
 *   mode 4  a variable named "NNINDEX" of type ignored is inserted at
 *           position 0 (unless variable 0 already has that name) and filled
 *           with the case numbers 1 .. cases.
 * Messages: the data set checks, "Shuffle mode out of range" (outside
 * 0 .. 4), "Not enough memory to perform operation". */
NRX_API int32_t NRX_CALL NRXShuffleDataSet(int32_t ds, int32_t mode);

/* NRXSortDataSet: orders the cases by the entries of one variable, ascending
 * when `ascending` is nonzero, else descending; names and types move with
 * their cases, and cases of equal entries keep their order. A missing entry
 * sorts as the (tiny, positive) number NRXMissingValue().
 * Messages: the data set checks, "Data Set index out of range" (sic: a bad
 * variable number), "Not enough memory to perform operation". */
NRX_API int32_t NRX_CALL NRXSortDataSet(int32_t ds, int32_t variable, int32_t ascending);

/* ------------------------------------------------------------------------
 * Whole networks
 * ------------------------------------------------------------------------ */

/* NRXFreeNetwork: destroys the network in slot `net` and empties the slot.
 * Returns 1, or 0 with "Network index out of range" or
 * "No network loaded with this index". */
NRX_API int32_t NRX_CALL NRXFreeNetwork(int32_t net);

/* NRXCreateNetwork: builds a new network of a design kind into the lowest
 * free slot and returns that slot, or -1.
 *   design       0 multilayer perceptron, 1 Kohonen, 2 radial basis function,
 *                3 linear, 4 probabilistic (PNN), 5 generalised regression
 *                (GRNN); see NRX_DESIGN_*.
 *   no_inputs, no_outputs  numbers of input and output variables (>= 0).
 *   no_layers    2 .. 128 (a kind may require a fixed count, see below).
 *   lookahead    >= 0; steps >= 1 (time series; 0 and 1 for ordinary use).
 *   nominals     no_inputs + no_outputs counts of nominal values (a count
 *                k > 0 makes a nominal variable with value names "v1" ..
 *                "vk"; 0 or less, a numeric one); may be null: all numeric.
 *                Read only.
 *   conversions  no_inputs + no_outputs conversion codes (inputs 0 .. 5,
 *                outputs 0 .. 6: 0 Minimax, 1 One-of-N, 2 Two-state, 3 Mean-SD,
 *                4 Explicit, 5 None, 6 Kohonen); may be null: all 0. Read only.
 *   units, widths  no_layers units and display widths per layer, each
 *                0 .. 0x20000000; both may be null only when no_layers is 0.
 *                The input layer's units (and, except for Kohonen, the output
 *                layer's) are derived from the variables; sizes below 1 become 1.
 * Messages, in order: "Too many Networks loaded", "Number of layers out of
 * bounds", "Number of inputs out of bounds", "Number of outputs out of bounds",
 * "Layer unit and width arrays cannot be NULL", then per layer "Number of units
 * out of bounds" and "Width of layer out of bounds", "Network design code out of
 * range", "A Network must have at least two layers", "Number of steps out of
 * bounds", "Lookahead out of bounds", "Not enough memory to perform operation"
 * (more variables, or inputs x steps, than any network can hold), "Conversion
 * function number out of range", "Not enough memory to create new Network"
 * (more than 1048576 nominal values in all, or no memory for the design),
 * "Not enough memory to create network", the kinds' own refusals ("A Kohonen
 * network must have exactly two layers", "An RBF network must have exactly
 * three layers", "A Linear network must have exactly two layers", "A
 * Probabilistic network must have three or four layers", "A Regression network
 * must have exactly four layers", "A probabilistic network with loss matrix
 * must have equal number of units in third and fourth layer", "A regression
 * network must have one more regression than output units") and "Not enough
 * memory to perform operation" (a network larger than the engine will hold).
 * On failure no slot is filled. */
NRX_API int32_t NRX_CALL NRXCreateNetwork(int32_t design, int32_t no_inputs, int32_t no_outputs,
                                          int32_t no_layers, int32_t lookahead, int32_t steps,
                                          const int32_t* nominals, const int32_t* conversions,
                                          const int32_t* units, const int32_t* widths);

/* NRXCopyNetwork: puts a deep copy of network `net` into the lowest free slot
 * (with fresh training settings) and returns that slot, or -1 with "Network
 * index out of range", "No network loaded with this index", "Too many Networks
 * loaded" or "Not enough memory to perform operation". */
NRX_API int32_t NRX_CALL NRXCopyNetwork(int32_t net);

/* NRXAppendNetwork: joins a copy of network `second` after network `net`: the
 * second's input layer merges with the first's output layer, its later layers
 * follow with their weights, and `net` keeps its input variables and takes
 * the second's output variables, coding and error function. `second` itself
 * is not changed and may equal `net`.
 * Messages: "Network index out of range", "No Network loaded with this index"
 * (capital N; for either handle, `net` first), "No. of inputs/outputs on
 * appended/existing net do not match". */
NRX_API int32_t NRX_CALL NRXAppendNetwork(int32_t net, int32_t second);

/* NRXRunNetwork: runs network `net` forward on one raw input vector.
 *   output_type  0 the decoded output variables (no_outputs values, nominal
 *                outputs as value numbers, unclassified ones as the missing
 *                value); 1 the output layer's activations (its units);
 *                2 the incoming weight row of the winning output unit (as
 *                many values as the layer before the output has units); 3 the
 *                1-based number of the winning unit of layer 1 (1 value).
 *   inputs       caller-owned, no_inputs x steps values (see above). Read only.
 *                An input counts as missing (its substitute is used) when it
 *                is the missing value, NaN, or, for a nominal input, anything
 *                but one of its value numbers 1 .. k.
 *   outputs      caller-owned, large enough for the chosen type.
 * Messages: the common ones, "Input and output arrays cannot be NULL",
 * "Output type out of range", "Not enough memory to execute network".
 * Each run keeps the units' activations (read by NRXGetNetworkUnitActivation). */
NRX_API int32_t NRX_CALL NRXRunNetwork(int32_t net, int32_t output_type, const double* inputs,
                                       double* outputs);

/* NRXRunNetworkFromDataSet: runs network `net` forward on case `c` of data
 * set `ds`. The network reads the data set's input variables in order (the
 * variables of type input or both; inputs the data set lacks read as
 * missing); a time-series network reads, for each, the entries of cases
 * c - (steps + lookahead - 1) .. c - lookahead, oldest first, so `c` must be
 * at least steps + lookahead - 1. The data set is expected to match the
 * network; the call does not compare them.
 *   output_type  0 .. 3 as NRXRunNetwork; 4 the smallest activation of layer
 *                1 (1 value).
 *   outputs      caller-owned, large enough for the chosen type.
 * Messages, in order: "Network index out of range", "No Network loaded with
 * this index" (capital N), "Data Set index out of range", "No Data Set loaded
 * with this index", "Pattern number out of range" (c outside 0 .. cases - 1),
 * "Pattern number too small for the network's steps and lookahead",
 * "Output type out of range", "Output array cannot be NULL", "Not enough
 * memory to run network". */
NRX_API int32_t NRX_CALL NRXRunNetworkFromDataSet(int32_t net, int32_t ds, int32_t c,
                                                  int32_t output_type, double* outputs);

/* ------------------------------------------------------------------------
 * Network structure: layers, units and weights
 * Layers are numbered from 0 (the input layer); units from 0 in each layer.
 * ------------------------------------------------------------------------ */

/* NRXGetNetworkNoLayers: the number of layers into *no_layers.
 * Messages: the common ones. */
NRX_API int32_t NRX_CALL NRXGetNetworkNoLayers(int32_t net, int32_t* no_layers);

/* NRXGetNetworkLayerNoUnits / NRXGetNetworkLayerWidth: the number of units of
 * a layer, or the number of units per row when it is shown as a grid.
 * Messages: the common ones. */
NRX_API int32_t NRX_CALL NRXGetNetworkLayerNoUnits(int32_t net, int32_t layer, int32_t* no_units);
NRX_API int32_t NRX_CALL NRXGetNetworkLayerWidth(int32_t net, int32_t layer, int32_t* width);

/* NRXGetNetworkLayerAct / NRXSetNetworkLayerAct: a layer's activation
 * function: 0 Linear, 1 Logistic, 2 Hyperbolic, 3 -Exponential, 4 Softmax,
 * 5 Unitsum, 6 Square Root, 7 Sine, 8 Ramp, 9 Step.
 * Messages: the common ones; get: "Internal error: unrecognised activation
 * function"; set: "Activation function number out of range". */
NRX_API int32_t NRX_CALL NRXGetNetworkLayerAct(int32_t net, int32_t layer, int32_t* code);
NRX_API int32_t NRX_CALL NRXSetNetworkLayerAct(int32_t net, int32_t layer, int32_t code);

/* NRXGetNetworkLayerPSP / NRXSetNetworkLayerPSP: a layer's combination
 * function: 0 Linear, 1 Radial, 2 Division.
 * Messages: the common ones; get: "Internal error: unrecognised PSP function";
 * set: "PSP function number out of range". */
NRX_API int32_t NRX_CALL NRXGetNetworkLayerPSP(int32_t net, int32_t layer, int32_t* code);
NRX_API int32_t NRX_CALL NRXSetNetworkLayerPSP(int32_t net, int32_t layer, int32_t code);

/* NRXGetNetworkErrorFunction / NRXSetNetworkErrorFunction: the network's error
 * function: 0 Sum-squared, 1 City block, 2 Entropy (single), 3 Entropy
 * (multiple), 4 Kohonen.
 * Messages: the common ones; get: "Internal error: unrecognised error
 * function" (and *code is set to 0); set: "Error function number out of range". */
NRX_API int32_t NRX_CALL NRXGetNetworkErrorFunction(int32_t net, int32_t* code);
NRX_API int32_t NRX_CALL NRXSetNetworkErrorFunction(int32_t net, int32_t code);

/* NRXGetNetworkUnitName: copies a unit's name (the empty text when it has
 * none) into `buffer`, caller-owned, at least NRX_NAME_BUFFER_SIZE bytes.
 * Messages: the common ones, "To retrieve a unit name you must allocate some
 * space" (null buffer). */
NRX_API int32_t NRX_CALL NRXGetNetworkUnitName(int32_t net, int32_t layer, int32_t unit,
                                               char* buffer);

/* NRXSetNetworkUnitName: replaces a unit's name with a copy of `name`; a null
 * or empty text clears it. The caller keeps `name`.
 * Messages: the common ones, "Name too long: at most 255 characters",
 * "Not enough memory to set unit name". */
NRX_API int32_t NRX_CALL NRXSetNetworkUnitName(int32_t net, int32_t layer, int32_t unit,
                                               const char* name);

/* NRXGetNetworkUnitThreshold / NRXSetNetworkUnitThreshold: a unit's threshold
 * (the bias of a Linear unit, the deviation factor of a Radial unit).
 * Messages: the common ones. */
NRX_API int32_t NRX_CALL NRXGetNetworkUnitThreshold(int32_t net, int32_t layer, int32_t unit,
                                                    double* threshold);
NRX_API int32_t NRX_CALL NRXSetNetworkUnitThreshold(int32_t net, int32_t layer, int32_t unit,
                                                    double threshold);

/* NRXGetNetworkUnitClass / NRXSetNetworkUnitClass: a unit's class (0 = none,
 * k >= 1 = nominal value k of the first output variable), read back truncated.
 * Messages: the common ones. */
NRX_API int32_t NRX_CALL NRXGetNetworkUnitClass(int32_t net, int32_t layer, int32_t unit,
                                                int32_t* unit_class);
NRX_API int32_t NRX_CALL NRXSetNetworkUnitClass(int32_t net, int32_t layer, int32_t unit,
                                                int32_t unit_class);

/* NRXGetNetworkUnitActivation: a unit's activation from the last run (0 for a
 * network never run). Messages: the common ones. */
NRX_API int32_t NRX_CALL NRXGetNetworkUnitActivation(int32_t net, int32_t layer, int32_t unit,
                                                     double* activation);

/* NRXGetNetworkWeight / NRXSetNetworkWeight: the weight from unit `from_unit`
 * of layer `from_layer` to unit `to_unit` of layer `to_layer`.
 * Messages, after the network checks: "Only connections between successive
 * layers can be set" (to_layer is not from_layer + 1), "Specified layer out of
 * range" (to_layer outside 1 .. layers - 1), "Specified unit out of range",
 * and for get "Output argument cannot be NULL". */
NRX_API int32_t NRX_CALL NRXGetNetworkWeight(int32_t net, int32_t from_layer, int32_t from_unit,
                                             int32_t to_layer, int32_t to_unit, double* weight);
NRX_API int32_t NRX_CALL NRXSetNetworkWeight(int32_t net, int32_t from_layer, int32_t from_unit,
                                             int32_t to_layer, int32_t to_unit, double weight);

/* NRXAddNetworkUnits: inserts `count` (>= 1) units into a layer before unit
 * `offset`, or after the last unit when offset is -1. New units have threshold
 * 1.0 in a Radial layer and 0 otherwise, no name, class 0 and zero weights in
 * and out; the other units keep theirs.
 * Messages: the common ones, "Offset out of range" (unless -1 <= offset <
 * units), "Number of units out of range" (count below 1), "Not enough memory
 * to perform operation". */
NRX_API int32_t NRX_CALL NRXAddNetworkUnits(int32_t net, int32_t layer, int32_t offset,
                                            int32_t count);

/* NRXDeleteNetworkUnits: deletes units offset .. offset + count - 1 of a
 * layer; a layer's last unit is never deleted.
 * Messages: the common ones, "Offset out of range" (unless 0 <= offset <
 * units - 1), "Number of units out of range" (unless count >= 1 and offset +
 * count < units). */
NRX_API int32_t NRX_CALL NRXDeleteNetworkUnits(int32_t net, int32_t layer, int32_t offset,
                                               int32_t count);

/* NRXDeleteNetworkLayer: removes a layer and joins its neighbours with a new
 * block of zero weights; removing the first or last layer turns the variables
 * on that side into one numeric variable per unit of the new first or last
 * layer. Messages: the common ones, "A Network must always have at least one
 * layer". */
NRX_API int32_t NRX_CALL NRXDeleteNetworkLayer(int32_t net, int32_t layer);

/* ------------------------------------------------------------------------
 * Variables and their coding
 * ------------------------------------------------------------------------ */

/* NRXGetNetworkNoInputs / NRXGetNetworkNoOutputs: the number of input or
 * output variables. Messages: the common ones. */
NRX_API int32_t NRX_CALL NRXGetNetworkNoInputs(int32_t net, int32_t* no_inputs);
NRX_API int32_t NRX_CALL NRXGetNetworkNoOutputs(int32_t net, int32_t* no_outputs);

/* NRXAddNetworkInputVariables: inserts `count` (>= 1) numeric Minimax input
 * variables before input `offset` (0 .. inputs), or at the end when offset is
 * -1; the input layer gains count x steps units there.
 * Messages: the common ones, "Offset out of range", "Number of variables out
 * of range", "Not enough memory to perform operation". */
NRX_API int32_t NRX_CALL NRXAddNetworkInputVariables(int32_t net, int32_t offset, int32_t count);

/* NRXAddNetworkOutputVariables: inserts `count` (>= 1) numeric output
 * variables after the first `offset` outputs (offset 1 .. outputs), or at the
 * end when offset is -1 (Minimax, or Mean-SD for RBF and regression networks).
 * Messages: the common ones, "Cannot add output variables at position 0",
 * "Offset out of range", "Number of variables out of range", "This type of
 * network must always have exactly one output variable" (Kohonen and
 * probabilistic networks), "Not enough memory to perform operation". */
NRX_API int32_t NRX_CALL NRXAddNetworkOutputVariables(int32_t net, int32_t offset, int32_t count);

/* NRXDeleteNetworkInputVariables / NRXDeleteNetworkOutputVariables: deletes
 * input (or output) variables offset .. offset + count - 1, counted among
 * that side's variables, with their units.
 * Messages: the common ones, "Offset or no out of range" (unless offset >= 0,
 * count >= 1 and offset + count <= the number of such variables), "A Network
 * must always have at least one input variable" / "... output variable". */
NRX_API int32_t NRX_CALL NRXDeleteNetworkInputVariables(int32_t net, int32_t offset, int32_t count);
NRX_API int32_t NRX_CALL NRXDeleteNetworkOutputVariables(int32_t net, int32_t offset,
                                                         int32_t count);

/* NRXGetNetworkVariableName: copies a variable's name (the empty text when it
 * has none) into `buffer`, caller-owned, at least NRX_NAME_BUFFER_SIZE bytes.
 * Messages: "Network index out of range", "No Network loaded with this index"
 * (capital N), "Variable number out of range", "To retrieve a variable name
 * you must allocate some space". */
NRX_API int32_t NRX_CALL NRXGetNetworkVariableName(int32_t net, int32_t variable, char* buffer);

/* NRXSetNetworkVariableName: replaces a variable's name with a copy of `name`;
 * a null or empty text clears it. The caller keeps `name`.
 * Messages: as the get form up to the variable check, then "Name too long: at
 * most 255 characters", "Not enough memory to copy name". */
NRX_API int32_t NRX_CALL NRXSetNetworkVariableName(int32_t net, int32_t variable, const char* name);

/* NRXGetNetworkNoNominals / NRXSetNetworkNoNominals: a variable's number of
 * nominal values (0 = numeric). Setting keeps the existing names, adds
 * "v<number>" names (as NRXSetDataNoNominals) or drops names from the end,
 * and resizes the variable's
 * units (a One-of-N variable takes one unit per value).
 * Messages: "Network index out of range", "No Network loaded with this index"
 * (capital N), "Variable number out of range", get: "Output argument cannot be
 * NULL"; set: "Number of nominal values out of range" (below 0), "Not enough
 * memory to add nominals". */
NRX_API int32_t NRX_CALL NRXGetNetworkNoNominals(int32_t net, int32_t variable,
                                                 int32_t* no_nominals);
NRX_API int32_t NRX_CALL NRXSetNetworkNoNominals(int32_t net, int32_t variable,
                                                 int32_t no_nominals);

/* NRXGetNetworkNominal / NRXSetNetworkNominal: the name of nominal value
 * `value` (0-based: value 0 is the name of value number 1) of a variable.
 * Get copies it into `buffer`, caller-owned, at least NRX_NAME_BUFFER_SIZE
 * bytes; set stores a copy of `name` (the caller keeps it).
 * Messages: "Network index out of range", "No Network loaded with this index"
 * (capital N), "Variable number out of range", "Nominal number out of range";
 * get: "To retrieve a nominal name you must allocate some space"; set: "Blank
 * nominal names are not permitted" (null, empty or only blanks), "Nominal
 * value names of a variable must differ", "Name too long: at most 255
 * characters", "Not enough memory to copy nominal name". */
NRX_API int32_t NRX_CALL NRXGetNetworkNominal(int32_t net, int32_t variable, int32_t value,
                                              char* buffer);
NRX_API int32_t NRX_CALL NRXSetNetworkNominal(int32_t net, int32_t variable, int32_t value,
                                              const char* name);

/* NRXGetNetworkConvertFunction / NRXSetNetworkConvertFunction: a variable's
 * conversion code (0 Minimax, 1 One-of-N, 2 Two-state, 3 Mean-SD, 4 Explicit,
 * 5 None, 6 Kohonen - outputs only). Setting resizes the variable's units.
 * Messages: "Network index out of range", "No Network loaded with this index"
 * (capital N), "Variable number out of range"; get: "Internal error:
 * unrecognised conversion function"; set: "Conversion function number out of
 * range". */
NRX_API int32_t NRX_CALL NRXGetNetworkConvertFunction(int32_t net, int32_t variable, int32_t* code);
NRX_API int32_t NRX_CALL NRXSetNetworkConvertFunction(int32_t net, int32_t variable, int32_t code);

/* NRXGetNetworkMissingFunction / NRXSetNetworkMissingFunction: how a missing
 * value of a variable is replaced: 0 Mean, 1 Median, 2 Zero, 3 Min, 4 Max.
 * Messages: "Network index out of range", "No Network loaded with this index"
 * (capital N), "Variable number out of range"; get: "Internal error:
 * unrecognised missing value function"; set: "Missing value substitution
 * function number out of range". */
NRX_API int32_t NRX_CALL NRXGetNetworkMissingFunction(int32_t net, int32_t variable, int32_t* code);
NRX_API int32_t NRX_CALL NRXSetNetworkMissingFunction(int32_t net, int32_t variable, int32_t code);

/* NRXGetNetworkScaleFactor / NRXSetNetworkScaleFactor, NRXGetNetworkShiftFactor
 * / NRXSetNetworkShiftFactor: a variable's linear map (coded = raw x scale +
 * shift). Messages: the common ones, except that NRXGetNetworkScaleFactor says
 * "Attribute number out of range" for a bad variable number. */
NRX_API int32_t NRX_CALL NRXGetNetworkScaleFactor(int32_t net, int32_t variable, double* scale);
NRX_API int32_t NRX_CALL NRXSetNetworkScaleFactor(int32_t net, int32_t variable, double scale);
NRX_API int32_t NRX_CALL NRXGetNetworkShiftFactor(int32_t net, int32_t variable, double* shift);
NRX_API int32_t NRX_CALL NRXSetNetworkShiftFactor(int32_t net, int32_t variable, double shift);

/* NRXGetNetworkMinMean / NRXSetNetworkMinMean, NRXGetNetworkMaxSD /
 * NRXSetNetworkMaxSD: a variable's MinMean and MaxSD values (the target range
 * of Minimax, the mean and deviation of Mean-SD, the two unit levels of
 * One-of-N and Two-state). Messages: the common ones. */
NRX_API int32_t NRX_CALL NRXGetNetworkMinMean(int32_t net, int32_t variable, double* min_mean);
NRX_API int32_t NRX_CALL NRXSetNetworkMinMean(int32_t net, int32_t variable, double min_mean);
NRX_API int32_t NRX_CALL NRXGetNetworkMaxSD(int32_t net, int32_t variable, double* max_sd);
NRX_API int32_t NRX_CALL NRXSetNetworkMaxSD(int32_t net, int32_t variable, double max_sd);

/* NRXGetNetworkInputNormFunction / NRXSetNetworkInputNormFunction: the
 * normalisation of the input unit vector: 0 None, 1 Unit Length, 2 Unit Sum.
 * NRXGetNetworkOutputNormFunction / NRXSetNetworkOutputNormFunction: of the
 * output units: those three and 3 Maximum, 4 Minimum, 5 Step.
 * Messages: the common ones; get: "Internal error: unrecognised normalisation
 * function"; set: "Normalisation function number out of range". */
NRX_API int32_t NRX_CALL NRXGetNetworkInputNormFunction(int32_t net, int32_t* code);
NRX_API int32_t NRX_CALL NRXSetNetworkInputNormFunction(int32_t net, int32_t code);
NRX_API int32_t NRX_CALL NRXGetNetworkOutputNormFunction(int32_t net, int32_t* code);
NRX_API int32_t NRX_CALL NRXSetNetworkOutputNormFunction(int32_t net, int32_t code);

/* NRXGetNetworkClassifyDir / NRXSetNetworkClassifyDir: how nominal outputs
 * are classified: nonzero = by confidence (the largest unit wins), 0 = by
 * error (the smallest wins). The value set is the value read back.
 * Messages: the common ones. */
NRX_API int32_t NRX_CALL NRXGetNetworkClassifyDir(int32_t net, int32_t* by_confidence);
NRX_API int32_t NRX_CALL NRXSetNetworkClassifyDir(int32_t net, int32_t by_confidence);

/* NRXGetNetworkAccept / NRXSetNetworkAccept, NRXGetNetworkReject /
 * NRXSetNetworkReject: the accept and reject thresholds of classification.
 * Messages: the common ones. */
NRX_API int32_t NRX_CALL NRXGetNetworkAccept(int32_t net, double* accept);
NRX_API int32_t NRX_CALL NRXSetNetworkAccept(int32_t net, double accept);
NRX_API int32_t NRX_CALL NRXGetNetworkReject(int32_t net, double* reject);
NRX_API int32_t NRX_CALL NRXSetNetworkReject(int32_t net, double reject);

/* NRXGetNetworkSteps / NRXSetNetworkSteps: the number of time-series steps
 * (1 for ordinary networks). Setting resizes the input layer to coded input
 * units x steps, keeping the newest steps' units.
 * Messages: the common ones; set: "Number of steps out of bounds" (below 1),
 * "Not enough memory to perform operation". */
NRX_API int32_t NRX_CALL NRXGetNetworkSteps(int32_t net, int32_t* steps);
NRX_API int32_t NRX_CALL NRXSetNetworkSteps(int32_t net, int32_t steps);

/* NRXGetNetworkLookahead / NRXSetNetworkLookahead: how many cases ahead a
 * time-series network predicts. Messages: the common ones; set: "Lookahead out
 * of bounds" (below 0). */
NRX_API int32_t NRX_CALL NRXGetNetworkLookahead(int32_t net, int32_t* lookahead);
NRX_API int32_t NRX_CALL NRXSetNetworkLookahead(int32_t net, int32_t lookahead);

/* NRXCalculateScaleFactors: computes the scale and shift factors of network
 * `net`'s variables and the substitutes of missing values from data set `ds`.
 * The network's input variables pair in order with the data set's variables
 * of type input or both, its outputs with those of type output or both (a
 * variable without a partner keeps its factors); ignored cases and missing
 * entries are left out. Minimax maps the least and greatest value to MinMean
 * and MaxSD; Mean-SD maps the mean to MinMean with scale MaxSD / variance;
 * One-of-N and Two-state take shift MinMean and scale MaxSD; None takes
 * scale 1 and shift 0; Explicit and Kohonen keep theirs. A column without
 * spread, or without a valid value, takes scale 1.
 * Messages: "Network index out of range", "No Network loaded with this index"
 * (capital N), "Data Set index out of range", "No Data Set loaded with this
 * index", "Not enough memory to perform operation". */
NRX_API int32_t NRX_CALL NRXCalculateScaleFactors(int32_t net, int32_t ds);

/* ------------------------------------------------------------------------
 * Training
 * Each network slot keeps training settings: the stopping conditions, the
 * Weigend weight-elimination terms, and the epochs and retain-best flag of
 * its last training call. A new, copied or loaded network starts with all
 * conditions 0 (only the epoch count ends a run), Weigend lambda 0 (no
 * penalty) and scale 1.
 * ------------------------------------------------------------------------ */

/* NRXSetStoppingConditions: the conditions that end a training call of this
 * network before its epochs are done: the training error at or below
 * `target_error`; with verification, the verification error at or below
 * `target_verification_error`; or, with `window` above 0, when either error
 * (the verification error only with verification) has gone `window` epochs
 * in a row without falling by at least its improvement
 * (`error_improvement`, `verification_improvement`) below the lowest seen.
 * Messages: "Network index out of range", "No network loaded with this
 * index", "Stopping window cannot be negative", "Stopping condition is not a
 * number" (a NaN target or improvement); a refused call changes nothing. */
NRX_API int32_t NRX_CALL NRXSetStoppingConditions(int32_t net, int32_t window, double target_error,
                                                  double target_verification_error,
                                                  double error_improvement,
                                                  double verification_improvement);

/* NRXSetWeigend: the weight-elimination penalty of later training calls of
 * this network: lambda x sum over the trained weights of w^2 / (scale + w^2);
 * lambda 0 switches it off.
 * Messages: "Network index out of range", "No network loaded with this
 * index", "Weigend lambda must be a number not below 0", "Weigend scale must
 * be a number above 0". */
NRX_API int32_t NRX_CALL NRXSetWeigend(int32_t net, double lambda, double scale);

/* NRXReinitializeNetwork: sets the engine's reinitialisation range to (a, b)
 * and refills the weights into layer `layer` (1 .. layers - 1; layer 0 has
 * none) and its thresholds, or with layer -1 every layer in turn. Methods
 * (NRX_REINIT_*): 0 uniform in (a, b); 1 a + b x a Gaussian deviate (fixed
 * weights kept); 2 uniform, then each unit's weights (with its threshold in a
 * Linear-PSP layer) scaled to length 1; 3 zero. Thresholds of Radial-PSP
 * layers become 1.0 under every method. Draws come from the engine's random
 * generator. Any other method changes nothing (not even the range) and
 * returns 1.
 * Messages: "Network index out of range", "No network loaded with this
 * index", "Layer number out of bounds" (outside -1 .. layers - 1). */
NRX_API int32_t NRX_CALL NRXReinitializeNetwork(int32_t net, int32_t method, int32_t layer,
                                                double a, double b);

/* The gradient-descent and second-order trainers share these arguments and
 * results:
 *   net, ds       the network to train and its data set, whose input and
 *                 output variables must match the network's (number and
 *                 nominal value counts); its training cases are trained on.
 *   epochs        >= 0 epochs to run (0 only measures the errors); becomes
 *                 the slot's epoch setting.
 *   verify        nonzero: measure the verification cases' error after each
 *                 epoch (and use it for retain best and stopping).
 *   retain_best   nonzero: the network ends as it was at its best epoch
 *                 (lowest verification error with verify, else lowest
 *                 training error; the network before training counts) and
 *                 the trainer's working arrays (momentum terms, learning
 *                 rates) are kept for the next call of the same trainer;
 *                 zero: the network ends as the last epoch left it and the
 *                 arrays are released.
 *   training_error, verification_error  caller-owned; receive the root-mean-
 *                 square errors of the training and verification cases for
 *                 the network as it ends (verification 0 without verify or
 *                 verification cases). Both must be non-null; a null one is
 *                 refused before anything is done. On failure both (when not
 *                 null) are set to 0.
 * Every call starts afresh: the network's scale factors are first
 * recalculated from the data set (NRXCalculateScaleFactors) and the slot's
 * stopping conditions and Weigend terms apply. The last run's rates stay in
 * the engine for later calls.
 * A call stops after an epoch when NRXRequestStop asks it to, returning 1
 * as after its last epoch.
 * When the weights diverge the call stops early, leaves the message
 * "Training algorithm has stopped prematurely because the weights are
 * diverging rapidly. ..." (cut to 128 characters) and still returns 1 with
 * the errors of the last completed epoch (or of the retained best network).
 * Messages, in order: "Network index out of range", "No Network loaded with
 * this index" (capital N), "Data Set index out of range", "No Data Set loaded
 * with this index", "Output argument cannot be NULL", "Number of epochs out
 * of range" (below 0), "At least two layers required in Network"
 * (NRXBackPropagation checks this here), "<setting> is not a finite number"
 * (a NaN or infinite rate, momentum, acceleration, increment, decay,
 * smoothing or noise: "Learning rate is not a finite number" and so on),
 * "The current Data Set contains no Training cases" (also when none has the
 * steps + lookahead - 1 cases before it that a time-series network reads),
 * "Network and Data Set have differing number of inputs and outputs, or
 * differing nominal variable", "At least two layers required in Network",
 * "The Network's output layer does not match its output variables" (units
 * added to or deleted from the output layer), "Cannot use single node cross-entropy function on a
 * multiple output network", "Cannot use multiple node cross-entropy function on a single output
 * network", "Cannot train a Softmax output with multiple node cross-entropy set after the network
 * was built: rebuild or reload the network" (functions set one by one are not paired as a build
 * pairs them), "Not enough memory to perform operation". A refused call leaves the network as it
 * was. */

/* NRXBackPropagation: changes the weights after every training case (in data
 * set order, or shuffled anew each epoch when `shuffle` is nonzero), with a
 * learning rate moving linearly from start_rate to end_rate and a momentum
 * from start_momentum to end_momentum over the epochs, and uniform noise of
 * +-noise added to the coded inputs. */
NRX_API int32_t NRX_CALL NRXBackPropagation(int32_t net, int32_t ds, int32_t epochs, int32_t verify,
                                            int32_t retain_best, int32_t shuffle, double start_rate,
                                            double end_rate, double start_momentum,
                                            double end_momentum, double noise,
                                            double* training_error, double* verification_error);

/* NRXQuickPropagation: changes the weights once per epoch by a secant step
 * per weight; `rate` scales the first epoch's gradient step, `acceleration`
 * bounds the growth of a step. */
NRX_API int32_t NRX_CALL NRXQuickPropagation(int32_t net, int32_t ds, int32_t epochs,
                                             int32_t verify, int32_t retain_best, double rate,
                                             double acceleration, double noise,
                                             double* training_error, double* verification_error);

/* NRXDeltaBarDelta: changes the weights once per epoch, each with its own
 * learning rate starting at `initial_rate`, raised by `increment` while the
 * gradient keeps its sign and multiplied by `decay` when it turns, the sign
 * history being smoothed by `smoothing`. */
NRX_API int32_t NRX_CALL NRXDeltaBarDelta(int32_t net, int32_t ds, int32_t epochs, int32_t verify,
                                          int32_t retain_best, double initial_rate,
                                          double increment, double decay, double smoothing,
                                          double noise, double* training_error,
                                          double* verification_error);

/* The second-order trainers take the shared arguments only and add no
 * noise. Each epoch gathers the whole training set, then takes one step.
 * When the method finds no way down it ends the call early with the
 * message "Training algorithm has stopped in a (possibly local) minima" and
 * returns 1 with the errors as for divergence. Quasi-Newton and
 * Levenberg-Marquardt keep an n x n matrix of doubles (Levenberg-Marquardt
 * two), n being the number of weights and thresholds: a network too large
 * for it is refused with "Not enough memory to perform operation".
 *
 * NRXConjugateGradients: Polak-Ribiere conjugate directions, each searched
 * along for its minimum; steepest descent again after n steps and after a
 * search that finds nothing lower ("Line Search Algorithm Iterating too
 * many times" is left when a search is cut short, the call going on).
 * Also: "At least two layers required in Network" before the data set
 * checks. */
NRX_API int32_t NRX_CALL NRXConjugateGradients(int32_t net, int32_t ds, int32_t epochs,
                                               int32_t verify, int32_t retain_best,
                                               double* training_error, double* verification_error);

/* NRXQuasiNewton: BFGS steps along -H G, H the estimate of the inverse
 * Hessian (the identity again after a failed step), G the mean gradient,
 * shortened by backtracking until the error falls enough. */
NRX_API int32_t NRX_CALL NRXQuasiNewton(int32_t net, int32_t ds, int32_t epochs, int32_t verify,
                                        int32_t retain_best, double* training_error,
                                        double* verification_error);

/* NRXLevenbergMarquardt: damped Gauss-Newton steps for a network of one
 * output unit, the damping falling tenfold after an epoch that lowered the
 * residuals and rising tenfold (the step undone) after one that did not; at
 * a damping of 1e12 the call ends as converged. With retain_best the
 * damping is kept for the next call of this trainer.
 * Also, before the data set checks: "At least two layers required in
 * Network", "Cannot run Levenberg-Marquardt algorithm on networks with
 * multiple outputs". */
NRX_API int32_t NRX_CALL NRXLevenbergMarquardt(int32_t net, int32_t ds, int32_t epochs,
                                               int32_t verify, int32_t retain_best,
                                               double* training_error, double* verification_error);

/* Kohonen's self-organising map and learned vector quantisation train the
 * radial layer 1 (Radial PSP: each unit's weights from layer 0 are its
 * centre in the coded inputs) by the pattern of the iterative trainers
 * above, with these differences: the cases are presented one at a time (in
 * data set order, or shuffled anew each epoch when `shuffle` is nonzero);
 * only the inputs are compared with the data set and prepared (the
 * messages say "Network and Data Set have differing numbers of inputs, or
 * differing nominal variables"); the errors reported are root-mean-square
 * squared distances (Kohonen: to the nearest centre; LVQ: to the nearest
 * centre of the case's class, or the farthest centre when no unit has that
 * class). Both refuse, after the data set handle checks, with "At least two
 * layers required in Network" and "This algorithm can only be used on
 * Networks with a Radial layer".
 *
 * NRXKohonen: each case moves the unit whose centre is nearest (the lower
 * unit on ties) and, with r = the neighbourhood + 0.5 truncated, every unit
 * within r rows and r columns of it on the layer's grid (`width` columns,
 * the last row possibly partial) towards the case by the rate:
 * c = (1 - rate) c + rate x. Rate and neighbourhood move linearly from their
 * start to their end values over the epochs. The network's training history
 * is emptied first, so the call's entry ("KO...") stands alone.
 * Also: "Learning rate is not a finite number", "Neighbourhood is not a
 * finite number". */
NRX_API int32_t NRX_CALL NRXKohonen(int32_t net, int32_t ds, int32_t epochs, int32_t verify,
                                    int32_t retain_best, int32_t shuffle, double start_rate,
                                    double end_rate, double start_neighbourhood,
                                    double end_neighbourhood, double* training_error,
                                    double* verification_error);

/* NRXLVQ: learned vector quantisation. A case's class is the truncated value
 * of the data set's first output variable; a unit's label is its class, and
 * units labelled -1 take no part. f and s are the nearest and second-nearest
 * units (d1, d2 their squared distances; the lower unit on ties) and eta the
 * rate, moving linearly from start_rate to end_rate. Moves: towards
 * c = (1 - eta) c + eta x, away c = (1 + eta) c - eta x.
 *   method 0: f towards the case when it has the case's class, else away;
 *   method 1: when f or s has the case's class and d1 / d2 >
 *             (1 - epsilon)(1 + epsilon): both towards with beta x eta for eta
 *             when their labels agree, else the one of the case's class
 *             towards and the other away;
 *   method 2: when exactly one of f, s has the case's class,
 *             1 - epsilon < d1 / d2 and d2 / d1 < 1 + epsilon: that one
 *             towards, the other away.
 * A case whose class is missing moves nothing. When a centre runs off
 * beyond +-1e20 the call stops early as for divergence, with the message
 * "The LVQ algorithm has stopped prematurely because the weights are
 * diverging rapidly. ..." (cut to 128 characters).
 * Also: "Method out of range" (method other than 0, 1, 2, before every check
 * but the handles, the out-arguments and the epochs), "<setting> is not a
 * finite number" (Learning rate, Epsilon, Beta), "The network output
 * variable must be nominal to use Learned Vector Quantization", "The Data
 * Set must have an output variable to use Learned Vector Quantization". */
NRX_API int32_t NRX_CALL NRXLVQ(int32_t net, int32_t ds, int32_t epochs, int32_t verify,
                                int32_t retain_best, int32_t shuffle, int32_t method,
                                double start_rate, double end_rate, double epsilon, double beta,
                                double* training_error, double* verification_error);

/* The radial layer's centres from the data set's training cases (their coded
 * inputs; the network's input scale factors are first recalculated from the
 * data set). Returns 1 on success, else 0. A refused call changes nothing.
 * Both drop the best network kept by an earlier training call.
 * Messages, in order: "Network index out of range", "No Network loaded with
 * this index", "Data Set index out of range", "No Data Set loaded with this
 * index", "The current Data Set contains no Training cases", "At least two
 * layers required in Network", "There must be more Training cases than
 * Radial Units to use this algorithm" (fewer training cases than units of
 * layer 1), "Network and Data Set have differing numbers of inputs, or
 * differing nominal variables", "Not enough memory to perform operation".
 * When layer 1 is not Radial the call goes on after leaving "Center
 * assignment probably inappropriate for this network (continuing anyway)".
 *
 * NRXSubsample: each unit of layer 1 takes the inputs of one training case,
 * drawn at random without repeats (the training cases in order when there
 * are exactly as many as units). When the data set's first output variable
 * is nominal the unit's class becomes the case's value of it (0 when
 * missing). */
NRX_API int32_t NRX_CALL NRXSubsample(int32_t net, int32_t ds);

/* NRXKMeans: K-means from the first K training cases (K = units of layer 1):
 * every case goes to its nearest centre (the lower unit on ties), then each
 * centre moves to the mean of its cases (a centre without cases to all
 * zeros), until no case changes centre (at most 15000 passes; NRXRequestStop
 * ends it after the pass in progress). On success the error text reads
 * "Training Finished". */
NRX_API int32_t NRX_CALL NRXKMeans(int32_t net, int32_t ds);

/* The widths of the radial layer 1: every unit's threshold, the factor of
 * its squared distance. The data set of NRXKNearestDeviation is only
 * checked. Returns 1 on success, else 0; a refused call changes nothing. All
 * drop the best network kept by an earlier training call.
 * Messages, in order: "Network index out of range", "No Network loaded with
 * this index", (NRXKNearestDeviation: "Data Set index out of range", "No Data
 * Set loaded with this index"), "This algorithm can only be used on Networks
 * with a Radial layer", "The deviation must be a number above 0" (also NaN
 * and infinity).
 *
 * NRXExplicitDeviation: every threshold becomes `deviation`, which is kept
 * as the engine's deviation for NRXKNearestDeviation. */
NRX_API int32_t NRX_CALL NRXExplicitDeviation(int32_t net, double deviation);

/* NRXIsotropicDeviation: every threshold becomes K / (deviation^2 dmax^2),
 * K the number of units and dmax the largest distance between two
 * centres; `deviation` is kept as for NRXExplicitDeviation.
 * Also: "Isotropic deviation needs at least two radial units whose centres
 * differ". */
NRX_API int32_t NRX_CALL NRXIsotropicDeviation(int32_t net, double deviation);

/* NRXKNearestDeviation: each unit's threshold becomes
 * count / (2 D^2 sum), sum the squared distances to its k nearest other
 * centres (centres on it left out; count of them, at most k), D the last
 * deviation given (1.0 before any); with every other centre on it,
 * 1 / (2 D^2). Also: "The number of neighbours must be at least 1". */
NRX_API int32_t NRX_CALL NRXKNearestDeviation(int32_t net, int32_t ds, int32_t k);

/* Class labels for the units of the radial layer 1 from the data set's
 * training cases, whose first output variable gives their class (its
 * nominal value number). Returns 1 on success, else 0; a refused call
 * changes nothing.
 * Messages, in order: "Network index out of range", "No Network loaded with
 * this index", "Data Set index out of range", "No Data Set loaded with this
 * index", "This algorithm can only be used on Networks with a Radial layer",
 * "There must be at least one output variable in the data set, and the
 * first one must be nominal-valued, to use the KL-Nearest algorithm",
 * "Network and Data Set have differing numbers of inputs, or differing
 * nominal variables", "The current Data Set contains no Training cases",
 * "Not enough memory to perform operation".
 *
 * NRXWinFrequencyClassLabel: each case is won by the unit whose centre is
 * nearest (the lower unit on ties). A unit's class becomes the class most
 * frequent among the cases it won (the lower class on ties; missing classes
 * not counted) when it has at least one such case and at least
 * proportion x the cases won; otherwise 0 (no class). */
NRX_API int32_t NRX_CALL NRXWinFrequencyClassLabel(int32_t net, int32_t ds, double proportion);

/* NRXKNearestClassLabel: for each unit the k training cases nearest to its
 * centre (k cut to the number of training cases) vote, those of missing
 * class left out; classes are counted from 1 up while the uncounted votes
 * could still beat the best. The unit's class becomes the best class, or
 * the missing value (NRXMissingValue) when another class ties it, when no
 * case voted, or when it has fewer than l votes (l cut to k).
 * Also, after the checks above: "The number of neighbours must be at least
 * 1" (k below 1). */
NRX_API int32_t NRX_CALL NRXKNearestClassLabel(int32_t net, int32_t ds, int32_t k, int32_t l);

/* The one-shot trainers set the weights in one step, without epochs, and
 * ignore the slot's stopping conditions. Each recomputes the network's
 * pre-processing factors from the data set (as an iterative call's first
 * epoch does) and drops the best network kept by an earlier call. The
 * first messages, in order, are those of the iterative calls up to "Network
 * and Data Set have differing number of inputs and outputs, or differing
 * nominal variable" ("... differing numbers of inputs, or differing nominal
 * variables" for NRXPrincipalComponents, which reads no outputs). A refused
 * call leaves the network as it was and, where it takes them, writes 0 to
 * both errors. The errors reported are root-mean-square case errors over
 * the training and the verification cases (0 without verification cases).
 *
 * NRXPseudoInverse: solves the Linear output layer by least squares from
 * the last hidden layer's outputs (and -1 for the threshold) over the
 * training cases, taking the solution of least length where the hidden
 * outputs are dependent (equal units, more units than cases). While it
 * runs, "Stage 1 of 6" .. "Stage 6 of 6" pass through the error text.
 * Also: "At least two layers required in Network", "This algorithm can
 * only be used on Networks with a Linear output layer" (its activation and
 * PSP), "The Network's output layer does not match its output variables". */
NRX_API int32_t NRX_CALL NRXPseudoInverse(int32_t net, int32_t ds, double* training_error,
                                          double* verification_error);

/* NRXProbabilisticTrain: a probabilistic network's radial units take the
 * first training cases (one per unit, in data set order) as centres and
 * 1 / (2 smoothing^2) as width factor; class unit i sums the radial units
 * of class i's cases with weight 1, or prior(i) / (cases of class i among
 * them) when `priors` (one value per class of the output variable, read
 * during the call only; may be null) has a value other than 0.
 * Also, in order: "Smoothing factor must be a number above 0" (0, below 0,
 * not finite; checked first), "This algorithm cannot be used on this type
 * of Network", "At least three layers required in network", "Data Set must
 * have one nominal-valued output variable which matches the network output
 * to use PNN training", "A Probabilistic network must have the same number
 * of Radial Units as Training cases" (layer 2 needs one unit per class),
 * "Loss matrix layer must be square", "Class priors must be numbers not
 * below 0", "There must be more Training cases than Radial Units to use
 * this algorithm" (fewer cases than radial units). With more cases than
 * units the excess are ignored; the error text then passes through
 * "Network not big enough to use all training cases: ignoring excess ones"
 * and, after success, holds "Network trained: testing cases". */
NRX_API int32_t NRX_CALL NRXProbabilisticTrain(int32_t net, int32_t ds, double smoothing,
                                               const double* priors, double* training_error,
                                               double* verification_error);

/* NRXRegressionTrain: a regression network's radial centres stay where they
 * are (placed beforehand); each training case adds its prepared targets
 * and a count of 1 to the weights from its nearest centre into the
 * summation layer, so the outputs are kernel-weighted means of the targets;
 * width factors as for NRXProbabilisticTrain.
 * Also, in order: "Smoothing factor must be a number above 0", "This
 * algorithm cannot be used on this type of Network", "Network must have
 * exactly four layers to use regression training", "Cannot train network
 * as it has the wrong number of regression units" (layer 2 needs one unit
 * more than layer 3). After success the error text holds "Network trained:
 * testing cases". */
NRX_API int32_t NRX_CALL NRXRegressionTrain(int32_t net, int32_t ds, double smoothing,
                                            double* training_error, double* verification_error);

/* NRXPrincipalComponents: layer 1 (Linear PSP) becomes the principal
 * components of the training cases' prepared inputs: unit u takes the
 * eigenvector of the u-th largest eigenvalue of their scatter matrix about
 * the mean, units beyond the number of input units zero weights, and every
 * threshold of layer 1 becomes 0. `eigenvalues` (may be null) receives one
 * value per unit of the input layer, largest first.
 * Also: "At least two layers required in Network", "Only Linear networks
 * can be trained using Principal Components Analysis", "PCA Algorithm
 * failed to converge" (the eigenvalue search gave up; nothing is changed).
 * While it runs, "Stage 1 of 4: Calculating Auto-correlation matrix" ..
 * "Stage 4 of 4: Sorting Components" pass through the error text. */
NRX_API int32_t NRX_CALL NRXPrincipalComponents(int32_t net, int32_t ds, double* eigenvalues);

/* ------------------------------------------------------------------------
 * Result statistics
 * ------------------------------------------------------------------------ */

/* How much the network's error grows when each input variable is taken
 * away: every case's value of that input is made missing (the network's
 * substitute stands in for it) and the training and verification errors
 * are measured again. Errors are normalised root-mean-square case errors of
 * the network's error function; a subset without cases gives 0. Cases
 * before the first with a whole time-series window are skipped. Each array
 * holds one entry per input variable of the network; rank 1 is the input
 * whose loss raises the error most (the earlier input on ties). Nothing is
 * written unless the call succeeds; the data set is left as it was.
 * Messages, in order: "Network index out of range", "No Network loaded with
 * this index", "Data Set index out of range", "No Data Set loaded with this
 * index", "Output argument cannot be NULL", "Network and Data Set have
 * differing number of inputs and outputs, or differing nominal variable",
 * "Cannot conduct sensitivity analysis on a network with only a single
 * input variable", "The current Data Set contains no Training or
 * Verification cases", "Not enough memory to perform operation". */
NRX_API int32_t NRX_CALL NRXSensitivityAnalysis(int32_t net, int32_t ds, int32_t* training_ranks,
                                                int32_t* verification_ranks,
                                                double* training_base_error,
                                                double* verification_base_error,
                                                double* training_errors,
                                                double* verification_errors);

/* NRXIntelligentProblemSolver: designs networks for the data set `ds` on its
 * own and adds the good ones to the network set file `file`, which must
 * exist (see NRXCreateNetworkSet). It tries candidates of the enabled
 * architectures in turn (3-layer and 4-layer perceptrons, radial basis
 * function, linear, and probabilistic or generalised regression networks),
 * trains each, keeps the best in a temporary set of `temporary_capacity`
 * networks (when full: 0 replaces the worst, 1 trades size against error)
 * and at the end adds them, worst first, under the set's own when-full
 * policy; the best becomes the set's current network.
 *   steps: time-series steps (below 1 searches for them), -1 for none.
 *   regularise: nonzero also prunes the perceptrons' inputs by a weight
 *     penalty and the sensitivity of the error to each input.
 *   linear, bayesian, rbf, mlp3, mlp4: nonzero enables the architecture.
 *   hidden1, hidden2: hidden units of the perceptrons' first and second
 *     hidden layers, or hidden1 -1 for sizes derived from the data.
 *   budget: candidates to try, or 0 to search until NRXRequestStop.
 *   no_enlarge: nonzero keeps the set's capacity, so some networks may not
 *     be taken; otherwise the set grows to hold them all.
 *   training_proportion, verification_proportion: the data set's cases are
 *     split into new subsets by these shares (the rest test cases); a
 *     negative training proportion keeps its subsets.
 *   accept, reject: the classification thresholds of the networks kept for
 *     a nominal output; accept -1 derives them (for two classes from the
 *     ROC analysis, else 0.0 and 1.0). Networks with other outputs get 0.95
 *     and 0.05.
 * NRXRequestStop ends the search after the candidate in progress; what it
 * found is still added. The data set's roles are left as they were; its
 * subsets are changed when proportions are given. Returns 1, or 0 with the
 * set file unchanged.
 * Messages, in order: "The network set file name cannot be NULL", "Could
 * not open network file for reading", "Data Set index out of range", "No
 * Data Set loaded with this index", "You must have both input and output
 * variables defined to use the wizard", "The iteration budget must be 0 or
 * more", "Hidden layer sizes must be at least 1 (or -1 for automatic
 * sizes)", "The temporary network set must hold at least one network", "The
 * temporary network set's when-full choice must be 0 or 1", "The training
 * and verification proportions must be numbers", "At least one architecture
 * must be chosen when there is no iteration budget", "Internal error:
 * cannot create temporary file for network editing", "The current Data Set
 * contains no Training cases", the set writer's messages, "Not enough
 * memory to perform operation". */
NRX_API int32_t NRX_CALL NRXIntelligentProblemSolver(
    const char* file, int32_t ds, int32_t steps, int32_t regularise, int32_t linear,
    int32_t bayesian, int32_t rbf, int32_t mlp3, int32_t mlp4, int32_t hidden1, int32_t hidden2,
    int32_t budget, int32_t temporary_capacity, int32_t temporary_when_full, int32_t no_enlarge,
    double training_proportion, double verification_proportion, double accept, double reject);

/* ------------------------------------------------------------------------
 * Input selection
 * ------------------------------------------------------------------------ */

/* NRXInputSelection: chooses which input variables of data set `ds` to keep
 * and, on success, clears the input role of every other one (a variable
 * that is also an output stays an output). Subsets of the inputs are scored
 * without training, by how well a Gaussian kernel estimate over the
 * reference cases predicts the evaluation cases' coded outputs from the
 * subset's coded inputs, plus `unit_penalty` (at least 1e-5) per input kept.
 * Reference and evaluation cases are n = (training + verification cases) x
 * `sampling_rate` of them, drawn at random, half to each; cases with a
 * missing output are not scored.
 *   method        0 genetic search (exhaustive instead when the data set has
 *                 fewer than 32 inputs and 2^inputs < population x
 *                 generations; then "Using exhaustive evaluation (no. inputs
 *                 small)" is left in the error text and the call succeeds),
 *                 1 stepwise removal from all inputs, 2 stepwise addition.
 *   population    members of the genetic search, at least 1.
 *   generations   generations of the genetic search, 0 or more.
 *   mutation_rate 0 turns mutation off; any other value flips one bit of
 *                 each child.
 *   crossover_rate  probability that a pair of children is crossed.
 *   smoothing     kept as the engine's smoothing factor for later
 *                 probabilistic and regression training; not used here.
 *   sampling_rate above 0 and at most 1.
 * The engine's replacement rate (1.0), elitism (on) and use of the existing
 * subsets (off) apply. A call stops after the mask being scored when
 * NRXRequestStop asks it to, returning 1 with the roles unchanged.
 * Messages, in order: "Data Set index out of range", "No Data Set loaded
 * with this index", "Sampling rate out of range" (also a NaN), "Method out
 * of range", "Population size must be at least 1", "Number of generations
 * cannot be negative", "The current Data Set contains no Training cases",
 * "Data Set must have at least one output variable to do input feature
 * selection", "Data Set must have both input and output variables to use
 * the Input Feature Selection Algorithms", "Data Set has only one
 * (Input/Output) variable. The Input Selection Algorithm cannot be used for
 * Time Series problems", "There are not enough training and verification
 * cases to use Genetic Algorithm input selection" (n below 10), "Not enough
 * memory to perform operation". A refused call changes nothing. */
NRX_API int32_t NRX_CALL NRXInputSelection(int32_t ds, int32_t method, int32_t population,
                                           int32_t generations, double mutation_rate,
                                           double crossover_rate, double unit_penalty,
                                           double smoothing, double sampling_rate);

/* ------------------------------------------------------------------------
 * Network sets
 * A network set file keeps trained networks, each with a summary (type,
 * input count, units in layers 2 and 3, training/verification/test errors
 * and performances; 0 = not available) and a history and a comment text.
 * Every call reads the set from `file`, changes it and replaces the file
 * through a temporary file in the same directory, so a failed call leaves
 * the old set readable. Entry indices count from 0; -1 means the set's
 * current network. Calls return 1 on success and 0 on failure, with the
 * message in the error text; NRXLoadNetwork returns a handle or -1.
 * A file that cannot be read gives "Could not open network file for
 * reading"; a damaged one the reader's "Network file corrupted: ..." or
 * "Network set file corrupted: ..." message.
 * Summaries hold zero errors and performances for now: the run over a data
 * set that fills them is not yet part of these calls.
 * ------------------------------------------------------------------------ */

/* NRXCreateNetworkSet: writes a new empty set (overwriting). A capacity of
 * 0 or below gives 30, a when-full code outside 0..3 gives 0 (0 replace by
 * trade-off, 1 replace the oldest, 2 replace the worst, 3 enlarge), an
 * inform flag other than 0 or 1 gives 0. */
NRX_API int32_t NRX_CALL NRXCreateNetworkSet(const char* file, int32_t max_networks,
                                             int32_t when_full, int32_t inform_when_full);

/* NRXAddNetworkToSet: adds the network with its summary; `ds` is a data set
 * handle or -1. A full set applies its when-full policy and never grows
 * beyond its capacity except under "enlarge"; a full set that declines the
 * network (every entry locked, or the trade-off giving up the new network
 * itself) still returns 1. "The network set is full and the network was not
 * taken" when the policy could choose nothing. */
NRX_API int32_t NRX_CALL NRXAddNetworkToSet(const char* file, int32_t net, int32_t ds);

/* NRXDeleteNetworksFromSet: removes entries first..last (last -1 = the last
 * entry). "The network set is already empty - cannot delete networks",
 * "First and/or last network indices out of range". */
NRX_API int32_t NRX_CALL NRXDeleteNetworksFromSet(const char* file, int32_t first, int32_t last);

/* NRXReplaceNetworkInSet: entry `index` takes the network and its summary,
 * keeping its id, lock and comment. "The network set is already empty -
 * cannot replace networks", "The replace index is out of range". */
NRX_API int32_t NRX_CALL NRXReplaceNetworkInSet(const char* file, int32_t net, int32_t ds,
                                                int32_t index);

/* NRXSortNetworkSet: orders the entries by `criterion` (0 type, 1 inputs,
 * 2 hidden1, 3 hidden2, 4..6 training/verification/test error, 7..9 the
 * performances, 10 id), smaller first when `ascending` is not 0; the
 * current network stays the same network. "Criterion out of range". */
NRX_API int32_t NRX_CALL NRXSortNetworkSet(const char* file, int32_t ascending, int32_t criterion);

/* NRXGetNetworkSetDetails: the set's count, capacity, current network
 * (1-based, 0 = none), when-full code and inform flag. */
NRX_API int32_t NRX_CALL NRXGetNetworkSetDetails(const char* file, int32_t* count,
                                                 int32_t* max_networks, int32_t* current_network,
                                                 int32_t* when_full, int32_t* inform_when_full);

/* NRXSetNetworkSetDetails: each setting changes only when acceptable: a
 * capacity above the count, a current network 1..count, a code 0..3, a flag
 * 0 or 1; other values leave it as it was. */
NRX_API int32_t NRX_CALL NRXSetNetworkSetDetails(const char* file, int32_t max_networks,
                                                 int32_t current_network, int32_t when_full,
                                                 int32_t inform_when_full);

/* NRXGetNetworkSetNetworkDetails: one entry's summary. `history` and
 * `comment` may be null; otherwise each receives the text (empty when
 * absent) and must hold NRX_SET_TEXT_BUFFER_SIZE bytes: never more is
 * written. "Network number must be at least -1", "Network Set contains no
 * networks", "Network number is greater than number of networks in the
 * network set". */
NRX_API int32_t NRX_CALL NRXGetNetworkSetNetworkDetails(
    const char* file, int32_t index, int32_t* type, int32_t* inputs, int32_t* hidden1,
    int32_t* hidden2, int32_t* id, int32_t* is_locked, double* training_error,
    double* verification_error, double* test_error, double* training_performance,
    double* verification_performance, double* test_performance, char* history, char* comment);

/* NRXSetNetworkSetNetworkDetails: sets an entry's lock (-1 = unchanged, 0,
 * 1) and texts (null = unchanged; at most NRX_MAX_SET_TEXT_LENGTH
 * characters). "Network index number out of range", "is_locked flag out of
 * range", "Network set text too long". */
NRX_API int32_t NRX_CALL NRXSetNetworkSetNetworkDetails(const char* file, int32_t index,
                                                        int32_t is_locked, const char* history,
                                                        const char* comment);

/* NRXLoadNetwork: a new network handle holding entry `index` of the set, or
 * -1. "Network number must be at least -1", "Network Set is empty",
 * "Network number greater than number of networks in network set", "Too
 * many Networks loaded"; a stored network whose codes are out of range is
 * refused with the reader's message. */
NRX_API int32_t NRX_CALL NRXLoadNetwork(const char* file, int32_t index);

/* ------------------------------------------------------------------------
 * Spreadsheet entry points (no cdecl forms)
 * Each loads network `network` (-1 = the current one) from set `file`, runs
 * it on the worksheet range `inputs` of *rows x *columns values (which must
 * equal the network's inputs x steps) with NRXRunNetwork's output type 0..3,
 * frees it, and gives back element `output_index` (from 0) of the outputs.
 * A failure is recorded as usual and also shown: with no desktop, as the line
 * "<error text>: NRX API Error Message" on standard error. Messages besides
 * NRXLoadNetwork's and NRXRunNetwork's: "Input array wrong size for
 * network", "Parameter type is out of range", "Output index out of range". */

/* The element, or `default_value` when it is missing or a later step fails;
 * 0.0 when the network cannot be loaded. */
NRX_API double NRX_CALL NRXExcelRunNetworkNumeric(const char* file, int32_t network,
                                                  int32_t output_index, int32_t output_type,
                                                  double default_value, const uint16_t* rows,
                                                  const uint16_t* columns, const double* inputs);

/* The element as text: `missing_text` when it is missing, the name of the
 * value for a nominal output variable (output type 0), else "%lg". Null on
 * failure. The text is the library's own and valid until the next call. */
NRX_API const char* NRX_CALL NRXExcelRunNetworkText(const char* file, int32_t network,
                                                    int32_t output_index, int32_t output_type,
                                                    const char* missing_text, const uint16_t* rows,
                                                    const uint16_t* columns, const double* inputs);

/* Shows "NRXExcelTest routine called" (captioned "NRX API"; on standard
 * error without a desktop) and returns -999. */
NRX_API int32_t NRX_CALL NRXExcelTest(void);

/* ------------------------------------------------------------------------
 * The cdecl forms (every function but NRXSortNetworkSet and the spreadsheet
 * entry points)
 * _NRXC<Name> takes the arguments of NRX<Name>, calls it and returns its
 * result, with the C calling convention (the same as NRX<Name> except on
 * 32-bit Windows). The list below declares them: X(result, Name, (parameters),
 * (arguments)).
 * ------------------------------------------------------------------------ */

/* clang-format off */
#define NRX_CDECL_FORMS(X) \
  X(int32_t, ErrorMessage, (char* buffer), (buffer)) \
  X(double, MissingValue, (void), ()) \
  X(void, RequestStop, (void), ()) \
  X(int32_t, Version, (void), ()) \
  X(int32_t, FreeNetwork, (int32_t net), (net)) \
  X(int32_t, CreateNetwork, (int32_t design, int32_t no_inputs, int32_t no_outputs, \
      int32_t no_layers, int32_t lookahead, int32_t steps, const int32_t* nominals, \
      const int32_t* conversions, const int32_t* units, const int32_t* widths), \
    (design, no_inputs, no_outputs, no_layers, lookahead, steps, nominals, conversions, units, \
     widths)) \
  X(int32_t, CopyNetwork, (int32_t net), (net)) \
  X(int32_t, AppendNetwork, (int32_t net, int32_t second), (net, second)) \
  X(int32_t, RunNetwork, (int32_t net, int32_t output_type, const double* inputs, \
      double* outputs), (net, output_type, inputs, outputs)) \
  X(int32_t, GetNetworkNoLayers, (int32_t net, int32_t* no_layers), (net, no_layers)) \
  X(int32_t, GetNetworkLayerNoUnits, (int32_t net, int32_t layer, int32_t* no_units), \
    (net, layer, no_units)) \
  X(int32_t, GetNetworkLayerWidth, (int32_t net, int32_t layer, int32_t* width), \
    (net, layer, width)) \
  X(int32_t, GetNetworkLayerAct, (int32_t net, int32_t layer, int32_t* code), (net, layer, code)) \
  X(int32_t, SetNetworkLayerAct, (int32_t net, int32_t layer, int32_t code), (net, layer, code)) \
  X(int32_t, GetNetworkLayerPSP, (int32_t net, int32_t layer, int32_t* code), (net, layer, code)) \
  X(int32_t, SetNetworkLayerPSP, (int32_t net, int32_t layer, int32_t code), (net, layer, code)) \
  X(int32_t, GetNetworkErrorFunction, (int32_t net, int32_t* code), (net, code)) \
  X(int32_t, SetNetworkErrorFunction, (int32_t net, int32_t code), (net, code)) \
  X(int32_t, GetNetworkUnitName, (int32_t net, int32_t layer, int32_t unit, char* buffer), \
    (net, layer, unit, buffer)) \
  X(int32_t, SetNetworkUnitName, (int32_t net, int32_t layer, int32_t unit, const char* name), \
    (net, layer, unit, name)) \
  X(int32_t, GetNetworkUnitThreshold, (int32_t net, int32_t layer, int32_t unit, \
      double* threshold), (net, layer, unit, threshold)) \
  X(int32_t, SetNetworkUnitThreshold, (int32_t net, int32_t layer, int32_t unit, \
      double threshold), (net, layer, unit, threshold)) \
  X(int32_t, GetNetworkUnitClass, (int32_t net, int32_t layer, int32_t unit, \
      int32_t* unit_class), (net, layer, unit, unit_class)) \
  X(int32_t, SetNetworkUnitClass, (int32_t net, int32_t layer, int32_t unit, \
      int32_t unit_class), (net, layer, unit, unit_class)) \
  X(int32_t, GetNetworkUnitActivation, (int32_t net, int32_t layer, int32_t unit, \
      double* activation), (net, layer, unit, activation)) \
  X(int32_t, GetNetworkWeight, (int32_t net, int32_t from_layer, int32_t from_unit, \
      int32_t to_layer, int32_t to_unit, double* weight), \
    (net, from_layer, from_unit, to_layer, to_unit, weight)) \
  X(int32_t, SetNetworkWeight, (int32_t net, int32_t from_layer, int32_t from_unit, \
      int32_t to_layer, int32_t to_unit, double weight), \
    (net, from_layer, from_unit, to_layer, to_unit, weight)) \
  X(int32_t, AddNetworkUnits, (int32_t net, int32_t layer, int32_t offset, int32_t count), \
    (net, layer, offset, count)) \
  X(int32_t, DeleteNetworkUnits, (int32_t net, int32_t layer, int32_t offset, int32_t count), \
    (net, layer, offset, count)) \
  X(int32_t, DeleteNetworkLayer, (int32_t net, int32_t layer), (net, layer)) \
  X(int32_t, GetNetworkNoInputs, (int32_t net, int32_t* no_inputs), (net, no_inputs)) \
  X(int32_t, GetNetworkNoOutputs, (int32_t net, int32_t* no_outputs), (net, no_outputs)) \
  X(int32_t, AddNetworkInputVariables, (int32_t net, int32_t offset, int32_t count), \
    (net, offset, count)) \
  X(int32_t, AddNetworkOutputVariables, (int32_t net, int32_t offset, int32_t count), \
    (net, offset, count)) \
  X(int32_t, DeleteNetworkInputVariables, (int32_t net, int32_t offset, int32_t count), \
    (net, offset, count)) \
  X(int32_t, DeleteNetworkOutputVariables, (int32_t net, int32_t offset, int32_t count), \
    (net, offset, count)) \
  X(int32_t, GetNetworkVariableName, (int32_t net, int32_t variable, char* buffer), \
    (net, variable, buffer)) \
  X(int32_t, SetNetworkVariableName, (int32_t net, int32_t variable, const char* name), \
    (net, variable, name)) \
  X(int32_t, GetNetworkNoNominals, (int32_t net, int32_t variable, int32_t* no_nominals), \
    (net, variable, no_nominals)) \
  X(int32_t, SetNetworkNoNominals, (int32_t net, int32_t variable, int32_t no_nominals), \
    (net, variable, no_nominals)) \
  X(int32_t, GetNetworkNominal, (int32_t net, int32_t variable, int32_t value, char* buffer), \
    (net, variable, value, buffer)) \
  X(int32_t, SetNetworkNominal, (int32_t net, int32_t variable, int32_t value, \
      const char* name), (net, variable, value, name)) \
  X(int32_t, GetNetworkConvertFunction, (int32_t net, int32_t variable, int32_t* code), \
    (net, variable, code)) \
  X(int32_t, SetNetworkConvertFunction, (int32_t net, int32_t variable, int32_t code), \
    (net, variable, code)) \
  X(int32_t, GetNetworkMissingFunction, (int32_t net, int32_t variable, int32_t* code), \
    (net, variable, code)) \
  X(int32_t, SetNetworkMissingFunction, (int32_t net, int32_t variable, int32_t code), \
    (net, variable, code)) \
  X(int32_t, GetNetworkScaleFactor, (int32_t net, int32_t variable, double* scale), \
    (net, variable, scale)) \
  X(int32_t, SetNetworkScaleFactor, (int32_t net, int32_t variable, double scale), \
    (net, variable, scale)) \
  X(int32_t, GetNetworkShiftFactor, (int32_t net, int32_t variable, double* shift), \
    (net, variable, shift)) \
  X(int32_t, SetNetworkShiftFactor, (int32_t net, int32_t variable, double shift), \
    (net, variable, shift)) \
  X(int32_t, GetNetworkMinMean, (int32_t net, int32_t variable, double* min_mean), \
    (net, variable, min_mean)) \
  X(int32_t, SetNetworkMinMean, (int32_t net, int32_t variable, double min_mean), \
    (net, variable, min_mean)) \
  X(int32_t, GetNetworkMaxSD, (int32_t net, int32_t variable, double* max_sd), \
    (net, variable, max_sd)) \
  X(int32_t, SetNetworkMaxSD, (int32_t net, int32_t variable, double max_sd), \
    (net, variable, max_sd)) \
  X(int32_t, GetNetworkInputNormFunction, (int32_t net, int32_t* code), (net, code)) \
  X(int32_t, SetNetworkInputNormFunction, (int32_t net, int32_t code), (net, code)) \
  X(int32_t, GetNetworkOutputNormFunction, (int32_t net, int32_t* code), (net, code)) \
  X(int32_t, SetNetworkOutputNormFunction, (int32_t net, int32_t code), (net, code)) \
  X(int32_t, GetNetworkClassifyDir, (int32_t net, int32_t* by_confidence), (net, by_confidence)) \
  X(int32_t, SetNetworkClassifyDir, (int32_t net, int32_t by_confidence), (net, by_confidence)) \
  X(int32_t, GetNetworkAccept, (int32_t net, double* accept), (net, accept)) \
  X(int32_t, SetNetworkAccept, (int32_t net, double accept), (net, accept)) \
  X(int32_t, GetNetworkReject, (int32_t net, double* reject), (net, reject)) \
  X(int32_t, SetNetworkReject, (int32_t net, double reject), (net, reject)) \
  X(int32_t, GetNetworkSteps, (int32_t net, int32_t* steps), (net, steps)) \
  X(int32_t, SetNetworkSteps, (int32_t net, int32_t steps), (net, steps)) \
  X(int32_t, GetNetworkLookahead, (int32_t net, int32_t* lookahead), (net, lookahead)) \
  X(int32_t, SetNetworkLookahead, (int32_t net, int32_t lookahead), (net, lookahead)) \
  X(int32_t, CalculateScaleFactors, (int32_t net, int32_t ds), (net, ds)) \
  X(int32_t, RunNetworkFromDataSet, (int32_t net, int32_t ds, int32_t c, int32_t output_type, \
      double* outputs), (net, ds, c, output_type, outputs)) \
  X(int32_t, CreateDataSet, (int32_t no_inputs, int32_t no_outputs), (no_inputs, no_outputs)) \
  X(int32_t, CopyDataSet, (int32_t ds), (ds)) \
  X(int32_t, LoadDataSet,                                                                       \
    (const char* file, int32_t format, int32_t case_names, int32_t header, char separator,      \
     const char* missing),                                                                      \
    (file, format, case_names, header, separator, missing))                                     \
  X(int32_t, SaveDataSet,                                                                       \
    (int32_t ds, const char* file, int32_t format, int32_t case_names, int32_t header,          \
     int32_t subsets, char separator),                                                          \
    (ds, file, format, case_names, header, subsets, separator))                                 \
  X(int32_t, FreeDataSet, (int32_t ds), (ds)) \
  X(int32_t, GetDataNoVariables, (int32_t ds, int32_t* count), (ds, count)) \
  X(int32_t, GetDataNoInputs, (int32_t ds, int32_t* count), (ds, count)) \
  X(int32_t, GetDataNoOutputs, (int32_t ds, int32_t* count), (ds, count)) \
  X(int32_t, GetDataNoCases, (int32_t ds, int32_t* count), (ds, count)) \
  X(int32_t, GetDataNoTraining, (int32_t ds, int32_t* count), (ds, count)) \
  X(int32_t, GetDataNoVerification, (int32_t ds, int32_t* count), (ds, count)) \
  X(int32_t, GetDataNoTest, (int32_t ds, int32_t* count), (ds, count)) \
  X(int32_t, GetDataVariableName, (int32_t ds, int32_t variable, char* buffer), \
    (ds, variable, buffer)) \
  X(int32_t, SetDataVariableName, (int32_t ds, int32_t variable, const char* name), \
    (ds, variable, name)) \
  X(int32_t, GetDataCaseName, (int32_t ds, int32_t c, char* buffer), (ds, c, buffer)) \
  X(int32_t, SetDataCaseName, (int32_t ds, int32_t c, const char* name), (ds, c, name)) \
  X(int32_t, GetDataCase, (int32_t ds, int32_t c, double* values), (ds, c, values)) \
  X(int32_t, SetDataCase, (int32_t ds, int32_t c, const double* values), (ds, c, values)) \
  X(int32_t, GetDataEntry, (int32_t ds, int32_t c, int32_t variable, double* value), \
    (ds, c, variable, value)) \
  X(int32_t, SetDataEntry, (int32_t ds, int32_t c, int32_t variable, double value), \
    (ds, c, variable, value)) \
  X(int32_t, AddDataVariables, (int32_t ds, int32_t position, int32_t count), \
    (ds, position, count)) \
  X(int32_t, DeleteDataVariables, (int32_t ds, int32_t position, int32_t count), \
    (ds, position, count)) \
  X(int32_t, AddDataCases, (int32_t ds, int32_t position, int32_t count), (ds, position, count)) \
  X(int32_t, DeleteDataCases, (int32_t ds, int32_t position, int32_t count), \
    (ds, position, count)) \
  X(int32_t, GetDataCaseType, (int32_t ds, int32_t c, int32_t* code), (ds, c, code)) \
  X(int32_t, SetDataCaseTypes, (int32_t ds, int32_t first, int32_t count, int32_t code), \
    (ds, first, count, code)) \
  X(int32_t, GetDataVariableType, (int32_t ds, int32_t variable, int32_t* code), \
    (ds, variable, code)) \
  X(int32_t, SetDataVariableTypes, (int32_t ds, int32_t first, int32_t count, int32_t code), \
    (ds, first, count, code)) \
  X(int32_t, GetDataNoNominals, (int32_t ds, int32_t variable, int32_t* count), \
    (ds, variable, count)) \
  X(int32_t, SetDataNoNominals, (int32_t ds, int32_t variable, int32_t count), \
    (ds, variable, count)) \
  X(int32_t, GetDataNominal, (int32_t ds, int32_t variable, int32_t value, char* buffer), \
    (ds, variable, value, buffer)) \
  X(int32_t, SetDataNominal, (int32_t ds, int32_t variable, int32_t value, const char* name), \
    (ds, variable, value, name)) \
  X(int32_t, ShuffleDataSet, (int32_t ds, int32_t mode), (ds, mode)) \
  X(int32_t, SortDataSet, (int32_t ds, int32_t variable, int32_t ascending), \
    (ds, variable, ascending)) \
  X(int32_t, SetStoppingConditions, (int32_t net, int32_t window, double target_error, \
      double target_verification_error, double error_improvement, \
      double verification_improvement), \
    (net, window, target_error, target_verification_error, error_improvement, \
     verification_improvement)) \
  X(int32_t, SetWeigend, (int32_t net, double lambda, double scale), (net, lambda, scale)) \
  X(int32_t, ReinitializeNetwork, (int32_t net, int32_t method, int32_t layer, double a, \
      double b), (net, method, layer, a, b)) \
  X(int32_t, BackPropagation, (int32_t net, int32_t ds, int32_t epochs, int32_t verify, \
      int32_t retain_best, int32_t shuffle, double start_rate, double end_rate, \
      double start_momentum, double end_momentum, double noise, double* training_error, \
      double* verification_error), \
    (net, ds, epochs, verify, retain_best, shuffle, start_rate, end_rate, start_momentum, \
     end_momentum, noise, training_error, verification_error)) \
  X(int32_t, QuickPropagation, (int32_t net, int32_t ds, int32_t epochs, int32_t verify, \
      int32_t retain_best, double rate, double acceleration, double noise, \
      double* training_error, double* verification_error), \
    (net, ds, epochs, verify, retain_best, rate, acceleration, noise, training_error, \
     verification_error)) \
  X(int32_t, DeltaBarDelta, (int32_t net, int32_t ds, int32_t epochs, int32_t verify, \
      int32_t retain_best, double initial_rate, double increment, double decay, \
      double smoothing, double noise, double* training_error, double* verification_error), \
    (net, ds, epochs, verify, retain_best, initial_rate, increment, decay, smoothing, noise, \
     training_error, verification_error)) \
  X(int32_t, ConjugateGradients, (int32_t net, int32_t ds, int32_t epochs, int32_t verify, \
      int32_t retain_best, double* training_error, double* verification_error), \
    (net, ds, epochs, verify, retain_best, training_error, verification_error)) \
  X(int32_t, QuasiNewton, (int32_t net, int32_t ds, int32_t epochs, int32_t verify, \
      int32_t retain_best, double* training_error, double* verification_error), \
    (net, ds, epochs, verify, retain_best, training_error, verification_error)) \
  X(int32_t, LevenbergMarquardt, (int32_t net, int32_t ds, int32_t epochs, int32_t verify, \
      int32_t retain_best, double* training_error, double* verification_error), \
    (net, ds, epochs, verify, retain_best, training_error, verification_error)) \
  X(int32_t, Kohonen, (int32_t net, int32_t ds, int32_t epochs, int32_t verify, \
      int32_t retain_best, int32_t shuffle, double start_rate, double end_rate, \
      double start_neighbourhood, double end_neighbourhood, double* training_error, \
      double* verification_error), \
    (net, ds, epochs, verify, retain_best, shuffle, start_rate, end_rate, start_neighbourhood, \
     end_neighbourhood, training_error, verification_error)) \
  X(int32_t, LVQ, (int32_t net, int32_t ds, int32_t epochs, int32_t verify, int32_t retain_best, \
      int32_t shuffle, int32_t method, double start_rate, double end_rate, double epsilon, \
      double beta, double* training_error, double* verification_error), \
    (net, ds, epochs, verify, retain_best, shuffle, method, start_rate, end_rate, epsilon, beta, \
     training_error, verification_error)) \
  X(int32_t, Subsample, (int32_t net, int32_t ds), (net, ds)) \
  X(int32_t, KMeans, (int32_t net, int32_t ds), (net, ds)) \
  X(int32_t, ExplicitDeviation, (int32_t net, double deviation), (net, deviation)) \
  X(int32_t, IsotropicDeviation, (int32_t net, double deviation), (net, deviation)) \
  X(int32_t, KNearestDeviation, (int32_t net, int32_t ds, int32_t k), (net, ds, k)) \
  X(int32_t, WinFrequencyClassLabel, (int32_t net, int32_t ds, double proportion), \
    (net, ds, proportion)) \
  X(int32_t, KNearestClassLabel, (int32_t net, int32_t ds, int32_t k, int32_t l), (net, ds, k, l)) \
  X(int32_t, PseudoInverse, (int32_t net, int32_t ds, double* training_error, \
      double* verification_error), (net, ds, training_error, verification_error)) \
  X(int32_t, ProbabilisticTrain, (int32_t net, int32_t ds, double smoothing, \
      const double* priors, double* training_error, double* verification_error), \
    (net, ds, smoothing, priors, training_error, verification_error)) \
  X(int32_t, RegressionTrain, (int32_t net, int32_t ds, double smoothing, \
      double* training_error, double* verification_error), \
    (net, ds, smoothing, training_error, verification_error)) \
  X(int32_t, PrincipalComponents, (int32_t net, int32_t ds, double* eigenvalues), \
    (net, ds, eigenvalues)) \
  X(int32_t, SensitivityAnalysis, (int32_t net, int32_t ds, int32_t* training_ranks, \
      int32_t* verification_ranks, double* training_base_error, double* verification_base_error, \
      double* training_errors, double* verification_errors), \
    (net, ds, training_ranks, verification_ranks, training_base_error, verification_base_error, \
     training_errors, verification_errors)) \
  X(int32_t, InputSelection, (int32_t ds, int32_t method, int32_t population, \
      int32_t generations, double mutation_rate, double crossover_rate, double unit_penalty, \
      double smoothing, double sampling_rate), \
    (ds, method, population, generations, mutation_rate, crossover_rate, unit_penalty, \
     smoothing, sampling_rate)) \
  X(int32_t, IntelligentProblemSolver, (const char* file, int32_t ds, int32_t steps, \
      int32_t regularise, int32_t linear, int32_t bayesian, int32_t rbf, int32_t mlp3, \
      int32_t mlp4, int32_t hidden1, int32_t hidden2, int32_t budget, \
      int32_t temporary_capacity, int32_t temporary_when_full, int32_t no_enlarge, \
      double training_proportion, double verification_proportion, double accept, \
      double reject), \
    (file, ds, steps, regularise, linear, bayesian, rbf, mlp3, mlp4, hidden1, hidden2, budget, \
     temporary_capacity, temporary_when_full, no_enlarge, training_proportion, \
     verification_proportion, accept, reject)) \
  X(int32_t, CreateNetworkSet, (const char* file, int32_t max_networks, int32_t when_full, \
      int32_t inform_when_full), (file, max_networks, when_full, inform_when_full)) \
  X(int32_t, AddNetworkToSet, (const char* file, int32_t net, int32_t ds), (file, net, ds)) \
  X(int32_t, DeleteNetworksFromSet, (const char* file, int32_t first, int32_t last), \
    (file, first, last)) \
  X(int32_t, ReplaceNetworkInSet, (const char* file, int32_t net, int32_t ds, int32_t index), \
    (file, net, ds, index)) \
  X(int32_t, GetNetworkSetDetails, (const char* file, int32_t* count, int32_t* max_networks, \
      int32_t* current_network, int32_t* when_full, int32_t* inform_when_full), \
    (file, count, max_networks, current_network, when_full, inform_when_full)) \
  X(int32_t, SetNetworkSetDetails, (const char* file, int32_t max_networks, \
      int32_t current_network, int32_t when_full, int32_t inform_when_full), \
    (file, max_networks, current_network, when_full, inform_when_full)) \
  X(int32_t, GetNetworkSetNetworkDetails, (const char* file, int32_t index, int32_t* type, \
      int32_t* inputs, int32_t* hidden1, int32_t* hidden2, int32_t* id, int32_t* is_locked, \
      double* training_error, double* verification_error, double* test_error, \
      double* training_performance, double* verification_performance, \
      double* test_performance, char* history, char* comment), \
    (file, index, type, inputs, hidden1, hidden2, id, is_locked, training_error, \
      verification_error, test_error, training_performance, verification_performance, \
      test_performance, history, comment)) \
  X(int32_t, SetNetworkSetNetworkDetails, (const char* file, int32_t index, int32_t is_locked, \
      const char* history, const char* comment), (file, index, is_locked, history, comment)) \
  X(int32_t, LoadNetwork, (const char* file, int32_t index), (file, index))
/* clang-format on */

#define NRX_DECLARE_CDECL_FORM(result, name, parameters, arguments) \
  NRX_API result _NRXC##name parameters;
NRX_CDECL_FORMS(NRX_DECLARE_CDECL_FORM)
#undef NRX_DECLARE_CDECL_FORM

#ifdef __cplusplus
}
#endif

#endif /* NRX32_H */
