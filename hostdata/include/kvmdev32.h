/*
 * kvmdev32: reads, edits and writes the data files of the host statistics
 * package: a table of cases x variables of doubles with variable names, long
 * names, display formats, missing-data codes, value labels, optional case
 * names and an 80-character file header.
 *
 * Handles. KvmOpenFile and KvmCreateFile return an opaque handle (a KvmFile
 * pointer) that stays valid until KvmCloseFile. Every other function first
 * checks its handle: a null pointer, a closed handle or any pointer the
 * library did not hand out is refused (the function returns 0) without being
 * touched.
 *
 * Numbering. Variables, cases and labels are numbered from 1.
 *
 * Results. Unless stated, 1 means success and 0 failure. A failure changes
 * nothing: neither the object nor the caller's out-arguments (these are
 * written only on success). There are no error messages; a failure leaves
 * its reason in errno instead, for the caller's own message:
 *   - the system's code when a file could not be opened, read, written,
 *     synced or renamed (ENOENT, EACCES, EISDIR, ENOSPC, EIO, ...); for a
 *     changed file opened read only, KvmCloseFile gives the reason the file
 *     could not be opened for writing (EACCES, EROFS, ...);
 *   - ENOMEM when memory ran out;
 *   - EFBIG or ENOSPC for an edit refused by the size checks (below);
 *   - 0 for any other refusal: an invalid handle, number or text, a file
 *     that is not a well-formed data file (nor a directory).
 * After a success errno is unspecified.
 *
 * Texts. Texts passed in are NUL-terminated and read only. Texts handed back
 * are NUL-terminated. Getters with a `size` argument write at most `size`
 * bytes, the terminating NUL included, and cut a longer text to fit (size
 * must be at least 1). Getters without one need the buffer sizes given by the
 * KVM_*_BUFFER_SIZE constants below. Free texts longer than the file can hold
 * (header 80, long name 128, long label 40, case name the case name length)
 * are cut to fit; names and labels that break their rules are refused.
 *
 * Edits stay in memory and in temporary working files (in $TMPDIR, else
 * /tmp) until KvmCloseFile writes the new file beside the data file and
 * renames it over the old one, so the old file stays intact until then and
 * after any failure. The working files have no name in $TMPDIR (made with
 * O_TMPFILE, or unlinked the moment they are made), so they vanish with the
 * handle or the process, however it ends. The new file has no name either
 * until it is complete, where the file system allows it (O_TMPFILE), and is
 * then named for the moment before the rename; elsewhere it is named all
 * along. Its name is a hidden ".kvmdev32-XXXXXX", locked while the file is
 * open; one that a killed process left behind is removed by the next
 * KvmOpenFile or KvmCreateFile of a file in that directory.
 *
 * Size checks. Edits that need disk space check it before they write
 * anything, so a hopeless one is refused at once instead of after minutes of
 * writing: an edit that would make the data area (cases x (case name length
 * + 8 x variables) bytes) larger than KVM_MAX_DATA_BYTES is refused with
 * EFBIG (KvmCreateFile, KvmAddVars, KvmAddCases, KvmSetCaseNameLength); any
 * edit that makes a working file (those four, KvmDeleteVars, KvmDeleteCases,
 * and the first change of a value or case name, which copies the data area)
 * is refused with ENOSPC when the file system of $TMPDIR has less free space
 * than the file needs; KvmCloseFile is refused with ENOSPC when the data
 * file's directory has less free space than the whole new file. Free space is
 * what statvfs reports for unprivileged use; it may still run out later, and
 * such a write fails as any other. A data file already larger than the limit
 * can still be opened, read, changed and cut down.
 *
 * Threads. Different handles may be used from different threads; one handle
 * must not be used by two threads at once.
 */
#ifndef KVMDEV32_H
#define KVMDEV32_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define KVM_API __declspec(dllexport)
#define KVM_CALL __stdcall
#elif defined(__GNUC__)
#define KVM_API __attribute__((visibility("default")))
#define KVM_CALL
#else
#define KVM_API
#define KVM_CALL
#endif

/* Limits of the file format. */
#define KVM_MAX_VARIABLES 4092
#define KVM_MAX_LABELS 2200     /* value labels per variable */
#define KVM_MAX_LONG_LABELS 720 /* long labels per variable */
#define KVM_MAX_CASE_NAME_LENGTH 20
/* The largest data area an edit may make, 16 GiB (see "Size checks"). */
#define KVM_MAX_DATA_BYTES ((int64_t)1 << 34)

/* Buffer sizes for getters without a size argument: text and NUL. */
#define KVM_NAME_BUFFER_SIZE 9        /* variable name, 8 characters */
#define KVM_LABEL_BUFFER_SIZE 9       /* value label, 8 characters */
#define KVM_LONG_LABEL_BUFFER_SIZE 41 /* long value label, 40 characters */
/* Sizes that hold the whole text for getters with a size argument. */
#define KVM_HEADER_BUFFER_SIZE 81
#define KVM_LONG_NAME_BUFFER_SIZE 129
#define KVM_CASE_NAME_BUFFER_SIZE 21

/* What a new file or a new variable starts with. */
#define KVM_DEFAULT_MISSING_CODE (-9999.0)
#define KVM_DEFAULT_FORMAT 776 /* width 8, 3 decimals */

#ifdef __cplusplus
extern "C" {
#endif

/* The object behind a handle; its contents are private. */
typedef struct KvmFile KvmFile;

/* ------------------------------------------------------------------------
 * Files
 * ------------------------------------------------------------------------ */

/* KvmDevVersion: the version of this interface, 2. */
KVM_API int32_t KVM_CALL KvmDevVersion(void);

/* KvmOpenFile: opens an existing data file.
 *   path  the file's name. The file must be a regular file; it is only read
 *         until KvmCloseFile writes changes back.
 * Reads and checks the header sections; the data stay in the file until
 * changed. Returns the handle, or null when the file cannot be opened or is
 * not a complete, well-formed data file. */
KVM_API KvmFile* KVM_CALL KvmOpenFile(const char* path);

/* KvmCreateFile: starts a new data file.
 *   variables  1 .. KVM_MAX_VARIABLES; named VAR1, VAR2, ..., with format
 *              KVM_DEFAULT_FORMAT and missing-data code KVM_DEFAULT_MISSING_CODE.
 *   cases      at least 1; every value is the missing-data code.
 *   path       the file's name. It is created when absent; an existing file
 *              is kept as it is until KvmCloseFile replaces it.
 * Returns the handle, or null (EFBIG or ENOSPC: see "Size checks"; the file
 * is then neither created nor touched). */
KVM_API KvmFile* KVM_CALL KvmCreateFile(int32_t variables, int32_t cases, const char* path);

/* KvmCloseFile: writes all changes back and frees the object; the handle is
 * invalid afterwards, whatever the result.
 * With nothing changed the file is left untouched. Otherwise the new file is
 * written beside the data file (see above), with the data file's
 * permissions, and renamed over the data file; the working files are
 * removed.
 * Returns 1, or 0 when the handle is invalid or the new file could not be
 * written or put in place (a file opened read-only that was changed included);
 * the data file is then as it was before. */
KVM_API int32_t KVM_CALL KvmCloseFile(KvmFile* file);

/* KvmGetNVars: the number of variables, or 0 on an invalid handle. */
KVM_API int32_t KVM_CALL KvmGetNVars(KvmFile* file);

/* KvmGetNCases: the number of cases, or 0 on an invalid handle (a file read
 * from disk may also hold no cases). */
KVM_API int32_t KVM_CALL KvmGetNCases(KvmFile* file);

/* ------------------------------------------------------------------------
 * Structure
 * ------------------------------------------------------------------------ */

/* KvmAddVars: inserts `count` (>= 1) variables after variable `position`
 * (0 inserts before the first). The total may not exceed KVM_MAX_VARIABLES,
 * nor the data area KVM_MAX_DATA_BYTES (EFBIG; see "Size checks").
 * The new variables are named NEWVAR1 ... NEWVARcount, have the default
 * format and missing-data code, no labels, and every value missing. */
KVM_API int32_t KVM_CALL KvmAddVars(KvmFile* file, int32_t position, int32_t count);

/* KvmDeleteVars: deletes variables `first` .. `last` (1 <= first <= last <=
 * variables) with their names, formats, codes, labels and values. At least
 * one variable must remain. */
KVM_API int32_t KVM_CALL KvmDeleteVars(KvmFile* file, int32_t first, int32_t last);

/* KvmAddCases: inserts `count` (>= 1) cases after case `position` (0 inserts
 * before the first). New cases have empty case names and each variable's
 * missing-data code as value. The total may not exceed 2147483647, nor the
 * data area KVM_MAX_DATA_BYTES (EFBIG; see "Size checks"). */
KVM_API int32_t KVM_CALL KvmAddCases(KvmFile* file, int32_t position, int32_t count);

/* KvmDeleteCases: deletes cases `first` .. `last` (1 <= first <= last <=
 * cases). At least one case must remain. */
KVM_API int32_t KVM_CALL KvmDeleteCases(KvmFile* file, int32_t first, int32_t last);

/* ------------------------------------------------------------------------
 * File header and variables
 * ------------------------------------------------------------------------ */

/* KvmSetFileHeader: sets the 80-character file header; a longer text is cut,
 * a shorter one padded with blanks. `text` must not be null. */
KVM_API int32_t KVM_CALL KvmSetFileHeader(KvmFile* file, const char* text);

/* KvmGetFileHeader: copies the file header, without trailing blanks, into
 * `buffer` of `size` bytes (KVM_HEADER_BUFFER_SIZE holds all of it). */
KVM_API int32_t KVM_CALL KvmGetFileHeader(KvmFile* file, char* buffer, int32_t size);

/* KvmSetVarName: names variable `variable`. Leading and trailing blanks are
 * removed; the name must then not be empty and must not begin with a digit,
 * a sign (+ or -) or the decimal separator of the current C locale. Letters
 * are upper-cased; blanks, control characters, the double quote and
 * # & ' ( ) * + , - . / ; : < = > [ ] ^ \ { } ~ become '_'; multi-byte UTF-8
 * characters are kept as they are. The name keeps its first 8 bytes (never
 * splitting a multi-byte character) and is stored blank-padded. */
KVM_API int32_t KVM_CALL KvmSetVarName(KvmFile* file, int32_t variable, const char* name);

/* KvmGetVarName: copies the name of `variable`, without padding, into
 * `buffer` of at least KVM_NAME_BUFFER_SIZE (9) bytes. */
KVM_API int32_t KVM_CALL KvmGetVarName(KvmFile* file, int32_t variable, char* buffer);

/* KvmSetVarLongName: sets the long name of `variable` (its first 128 bytes).
 * An empty text or null removes the long name. */
KVM_API int32_t KVM_CALL KvmSetVarLongName(KvmFile* file, int32_t variable, const char* text);

/* KvmGetVarLongName: copies the long name of `variable` (empty when it has
 * none) into `buffer` of `size` bytes (KVM_LONG_NAME_BUFFER_SIZE holds all). */
KVM_API int32_t KVM_CALL KvmGetVarLongName(KvmFile* file, int32_t variable, char* buffer,
                                           int32_t size);

/* KvmSetVarFormat: sets the display format of `variable`: width 0..63,
 * decimals 0..31, and two fields the library keeps without interpreting,
 * `field2` 0..3 and `field3` 0..7. Out-of-range values are refused. */
KVM_API int32_t KVM_CALL KvmSetVarFormat(KvmFile* file, int32_t variable, int32_t width,
                                         int32_t decimals, int32_t field2, int32_t field3);

/* KvmGetVarFormat: the four fields of the display format of `variable`. No
 * pointer may be null. */
KVM_API int32_t KVM_CALL KvmGetVarFormat(KvmFile* file, int32_t variable, int32_t* width,
                                         int32_t* decimals, int32_t* field2, int32_t* field3);

/* KvmSetVarMD: sets the missing-data code of `variable`. Values already
 * stored are not changed. */
KVM_API int32_t KVM_CALL KvmSetVarMD(KvmFile* file, int32_t variable, double code);

/* KvmGetVarMD: the missing-data code of `variable` into *code (not null). */
KVM_API int32_t KVM_CALL KvmGetVarMD(KvmFile* file, int32_t variable, double* code);

/* KvmGetAllMD: the missing-data codes of all variables, in order, into
 * `codes`, which must hold KvmGetNVars values. */
KVM_API int32_t KVM_CALL KvmGetAllMD(KvmFile* file, double* codes);

/* ------------------------------------------------------------------------
 * Case names and data
 * ------------------------------------------------------------------------ */

/* KvmSetCaseNameLength: sets the length of every case name, 0 ..
 * KVM_MAX_CASE_NAME_LENGTH (0: no case names). Longer names are zero-padded,
 * shorter ones cut. A longer length may not make the data area exceed
 * KVM_MAX_DATA_BYTES (EFBIG; see "Size checks"). */
KVM_API int32_t KVM_CALL KvmSetCaseNameLength(KvmFile* file, int32_t length);

/* KvmGetCaseNameLength: the case name length, or -1 on an invalid handle. */
KVM_API int32_t KVM_CALL KvmGetCaseNameLength(KvmFile* file);

/* KvmSetCaseName: sets the name of case `case_number`, cut to the case name
 * length. Refused when the case name length is 0 or `text` is null. */
KVM_API int32_t KVM_CALL KvmSetCaseName(KvmFile* file, int32_t case_number, const char* text);

/* KvmGetCaseName: copies the name of case `case_number` (empty when the
 * length is 0) into `buffer` of `size` bytes (KVM_CASE_NAME_BUFFER_SIZE
 * holds any). */
KVM_API int32_t KVM_CALL KvmGetCaseName(KvmFile* file, int32_t case_number, char* buffer,
                                        int32_t size);

/* KvmSetData: stores `value` as variable `variable` of case `case_number`. */
KVM_API int32_t KVM_CALL KvmSetData(KvmFile* file, int32_t variable, int32_t case_number,
                                    double value);

/* KvmGetData: variable `variable` of case `case_number` into *value (not null). */
KVM_API int32_t KVM_CALL KvmGetData(KvmFile* file, int32_t variable, int32_t case_number,
                                    double* value);

/* KvmSetCaseData: stores all values of case `case_number` from `values`,
 * which holds KvmGetNVars values. */
KVM_API int32_t KVM_CALL KvmSetCaseData(KvmFile* file, int32_t case_number, const double* values);

/* KvmGetCaseData: all values of case `case_number` into `values`, which must
 * hold KvmGetNVars values. */
KVM_API int32_t KVM_CALL KvmGetCaseData(KvmFile* file, int32_t case_number, double* values);

/* ------------------------------------------------------------------------
 * Value labels
 * A label belongs to a value of one variable. Values are kept as
 * single-precision floats, so a value matches a label when both round to the
 * same float. A label is 1 to 8 characters after leading and trailing blanks
 * are removed and must not read as a decimal number as a whole (with either
 * the full stop or the locale's decimal separator). A variable holds at most
 * KVM_MAX_LABELS labels, one per value and one value per label, and at most
 * KVM_MAX_LONG_LABELS long labels of up to 40 characters.
 * ------------------------------------------------------------------------ */

/* KvmGetLabelForValue: the label of `value` into `label` (at least
 * KVM_LABEL_BUFFER_SIZE bytes). Fails when the value has no label. */
KVM_API int32_t KVM_CALL KvmGetLabelForValue(KvmFile* file, int32_t variable, double value,
                                             char* label);

/* KvmGetLongLabelForValue: the long label of `value` (empty when its label
 * has none) into `buffer` of `size` bytes. Fails when the value has no label. */
KVM_API int32_t KVM_CALL KvmGetLongLabelForValue(KvmFile* file, int32_t variable, double value,
                                                 char* buffer, int32_t size);

/* KvmGetValueForLabel: the value carrying `label` (compared after removing
 * leading and trailing blanks, case-sensitive), the stored float widened to
 * double, into *value. Fails when no value carries the label. */
KVM_API int32_t KVM_CALL KvmGetValueForLabel(KvmFile* file, int32_t variable, const char* label,
                                             double* value);

/* KvmAddLabel: gives `value` the label `label` and, when `long_label` is
 * neither null nor empty, the long label `long_label` (its first 40 bytes).
 * Refused when the label breaks the rules above, the value is not a finite
 * single-precision number, the value already has a label, another value has
 * this label, or the variable's labels or long labels are full. */
KVM_API int32_t KVM_CALL KvmAddLabel(KvmFile* file, int32_t variable, double value,
                                     const char* label, const char* long_label);

/* KvmDeleteLabelForValue: removes the label (and long label) of `value`.
 * Fails when the value has no label. */
KVM_API int32_t KVM_CALL KvmDeleteLabelForValue(KvmFile* file, int32_t variable, double value);

/* KvmDeleteLabel: removes the label `label` (and its long label). Fails when
 * no value carries it. */
KVM_API int32_t KVM_CALL KvmDeleteLabel(KvmFile* file, int32_t variable, const char* label);

/* KvmGetNumVarLabels: the number of labels of `variable` into *count. */
KVM_API int32_t KVM_CALL KvmGetNumVarLabels(KvmFile* file, int32_t variable, int32_t* count);

/* KvmGetVarLabelByIndex: label number `index` (1 .. KvmGetNumVarLabels, in
 * the order held) of `variable`: its value into *value, its label into
 * `label` (KVM_LABEL_BUFFER_SIZE bytes) and, unless `long_label` is null, its
 * long label (empty when none) into `long_label` (KVM_LONG_LABEL_BUFFER_SIZE
 * bytes). `value` and `label` must not be null. */
KVM_API int32_t KVM_CALL KvmGetVarLabelByIndex(KvmFile* file, int32_t variable, int32_t index,
                                               double* value, char* label, char* long_label);

#ifdef __cplusplus
}
#endif

#endif /* KVMDEV32_H */
