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

// The most characters an object text holds.
export function maxObjectTextBytes() {
  return core.maxObjectTextBytes();
}

// {object} of a shape file of another program (OBJ, PLY, STL, OFF), or {reason}.
export function shapeObject(fileName, bytes) {
  return core.shapeObject(fileName, bytes);
}

// Whether a file name names a shape file of another program, by its extension.
export function isShapeFile(fileName) {
  return core.isShapeFile(fileName);
}

// The most bytes a shape file may hold.
export function maxShapeFileBytes() {
  return core.maxShapeFileBytes();
}

// {bytes, leftOut} of the object as an OBJ or PLY file ("obj", "ply"), or {reason}.
export function shapeFile(object, name, format) {
  return core.shapeFile(object, name, format);
}

// The editor text of a plain text file's bytes.
export function textFileAsEditorText(bytes) {
  return core.textFileAsEditorText(bytes);
}

// bytes deflated by the browser.
async function deflated(bytes) {
  const stream = new Blob([bytes]).stream().pipeThrough(new CompressionStream("deflate-raw"));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

// {link} to the object at base (the page's address without '#'), or {reason}. The core makes
// the payload and the link's text; the browser deflates.
export async function shareLink(object, base) {
  const made = core.sharePayload(object);
  if (made.reason) return made;
  return { link: core.linkOf(base, await deflated(made.payload)) };
}

// The inflated bytes, or null as soon as they grow past limit. The data goes in a small chunk
// at a time: given the whole, the browser would inflate all of it before handing out a byte.
async function inflatedUpTo(deflated, limit) {
  const kChunk = 128;
  const stream = new DecompressionStream("deflate-raw");
  const writer = stream.writable.getWriter();
  const reader = stream.readable.getReader();
  const feeding = (async () => {
    for (let at = 0; at < deflated.length; at += kChunk)
      await writer.write(deflated.subarray(at, at + kChunk));
    await writer.close();
  })();
  feeding.catch(() => {}); // its failure shows in the reader too
  const chunks = [];
  let size = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    size += value.length;
    if (size > limit) {
      await reader.cancel().catch(() => {});
      return null;
    }
    chunks.push(value);
  }
  await feeding;
  const out = new Uint8Array(size);
  let at = 0;
  for (const chunk of chunks) {
    out.set(chunk, at);
    at += chunk.length;
  }
  return out;
}

// {object} of a link, or {reason}.
export async function objectOfLink(link) {
  const data = core.linkData(link);
  if (data.reason) return data;
  let payload;
  try {
    payload = await inflatedUpTo(data.deflated, core.maxSharePayload());
  } catch {
    return { reason: "The link cannot be opened. Its data is damaged." };
  }
  if (!payload) return { reason: "The link cannot be opened. It unpacks to more than an object holds." };
  return core.objectOfPayload(payload);
}
