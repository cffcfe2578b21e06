// The one module that talks to the core (WebAssembly): every reading of an object, every
// picture and every file byte comes from there.
import createWirevaneCore from "wirevane-core";

let core = null;

export async function loadCore() {
  core = await createWirevaneCore();
  return core;
}

// A fresh page animation: start(object), pixels(), labels(), the navigation's calls.
export function newPage() {
  return new core.Page();
}

// {text, axisOrderText, objectColor, backgroundColor, crossColor, cross} of a new object.
export function newObject() {
  return core.newObject();
}

// {lines: [{kind, number, beyondTable}], findings: [{line, column, error, message}], stopLine}
export function analyze(text) {
  return core.analyze(text);
}

// {bytes} as the desktop saves them (over oldBytes of an opened file), or {reason}.
export function encodeObject(object, oldBytes) {
  return core.encodeObject(object, oldBytes || new Uint8Array());
}

// {object} or {reason}.
export function decodeObject(bytes) {
  return core.decodeObject(bytes);
}

// The editor text of a plain text file's bytes.
export function textFileAsEditorText(bytes) {
  return core.textFileAsEditorText(bytes);
}
