// The page: wires the editor, the object's values and the animation's controls to the core.
import * as core from "./core.js";
import { keepWork, loadWork } from "./keep.js";
import houseText from "../../examples/house.txt";

const $ = (id) => document.getElementById(id);
const canvas = $("picture");
const context = canvas.getContext("2d");
let page = null;
let editor = null; // loaded after the first picture
let startText = "";
let fileName = "noname.kfm";
let openedBytes = null; // the .kfm the object came from: a save keeps its other records
let saved = ""; // the values as last opened or saved, to tell edited work
let restartTimer = 0;
let runTimer = 0;
let settleTimer = 0;

const kReplaceQuestion = "The object has changes that are not saved. Replace it?";

function colourToHex(colour) {
  const r = colour & 0xff, g = (colour >> 8) & 0xff, b = (colour >> 16) & 0xff;
  return "#" + [r, g, b].map((c) => c.toString(16).padStart(2, "0")).join("");
}
function hexToColour(hex) {
  const v = Number.parseInt(hex.slice(1), 16);
  return ((v >> 16) & 0xff) | (v & 0xff00) | ((v & 0xff) << 16);
}

// The object as the page's fields hold it.
function currentObject() {
  return {
    text: editor ? editor.text() : startText,
    axisOrderText: $("axis-order").value,
    objectColor: hexToColour($("object-colour").value),
    backgroundColor: hexToColour($("background-colour").value),
    crossColor: hexToColour($("cross-colour").value),
    cross: $("object-cross").checked,
  };
}

// Shows an object; one that was just opened (not restored work) counts as unedited.
function showObject(object, { restored = false } = {}) {
  $("axis-order").value = object.axisOrderText;
  $("object-colour").value = colourToHex(object.objectColor);
  $("background-colour").value = colourToHex(object.backgroundColor);
  $("cross-colour").value = colourToHex(object.crossColor);
  $("object-cross").checked = object.cross;
  if (editor) editor.setText(object.text);
  else startText = object.text;
  if (!restored) saved = JSON.stringify(currentObject());
  restart();
}

function edited() {
  return JSON.stringify(currentObject()) !== saved;
}

// Whether the object on the page may give way to another one: unedited, or the user says so.
function mayReplace() {
  return !edited() || window.confirm(kReplaceQuestion);
}

// A browser that keeps nothing (storage full or turned off) is told of once: only a saved file
// keeps the work then.
let keepFailureTold = false;
function keep() {
  if (keepWork({ object: currentObject(), fileName, openedBytes, saved }) || keepFailureTold) return;
  keepFailureTold = true;
  status("This browser keeps no copy of the object: save it to keep it.");
}

// A message that must not be missed, until the next object is shown.
function alertUser(text) {
  const alert = $("alert");
  alert.textContent = text;
  alert.hidden = !text;
}

function status(text) {
  $("status").textContent = text;
}

function paint() {
  if (!page.changed()) return;
  const pixels = page.pixels();
  const image = new ImageData(new Uint8ClampedArray(pixels), page.width(), page.height());
  context.putImageData(image, 0, 0);
  // The point numbers are text over the picture, as the desktop's labels are.
  const labels = page.labels();
  if (labels.length) {
    context.font = "12px sans-serif";
    context.textBaseline = "top";
    for (const label of labels) {
      context.fillStyle = label.colour;
      context.fillText(label.text, Math.floor(label.x), Math.floor(label.y));
    }
  }
}

function showFindings(analysis) {
  editor.showAnalysis(analysis);
  const list = $("findings");
  list.replaceChildren();
  for (const finding of analysis.findings) {
    const item = document.createElement("li");
    const button = document.createElement("button");
    button.type = "button";
    button.className = finding.error ? "wv-finding wv-error" : "wv-finding";
    button.textContent = `Line ${finding.line}, column ${finding.column}: ${finding.error ? "error" : "warning"}: ${finding.message}`;
    button.addEventListener("click", () => editor.goTo(finding.line, finding.column));
    item.append(button);
    list.append(item);
  }
  $("findings-count").textContent =
    analysis.findings.length === 0 ? "No findings" : `${analysis.findings.length} finding${analysis.findings.length > 1 ? "s" : ""}`;
}

// Compiles the object afresh and shows its first picture, the animation stopped.
function restart() {
  clearTimeout(restartTimer);
  restartTimer = 0;
  const object = currentObject();
  if (editor) showFindings(core.analyze(object.text));
  const reason = page.start(object, fileName);
  setRunning(false);
  keep();
  $("nav-cross").checked = page.cross();
  $("animation-status").textContent = reason ? `The animation does not start: ${reason}` : "";
  paint();
  describe(true);
}

// The picture in words for a screen reader, as the desktop words it: a still picture's at once,
// a moving one's at most as often as the core allows.
let describedAt = -Infinity;
function describe(still) {
  const now = performance.now();
  if (!still && now - describedAt < page.descriptionIntervalMs()) return;
  const text = page.description();
  const region = $("animation-description");
  if (text === region.textContent) return;
  region.textContent = text;
  describedAt = now;
}

function restartSoon() {
  clearTimeout(restartTimer);
  restartTimer = setTimeout(restart, 150);
}

// Run mode ticks at the core's rate; while stopped nothing ticks, so nothing is drawn while the
// picture stands still.
function setRunning(on) {
  page.setRunning(on);
  $("run").setAttribute("aria-pressed", String(on));
  clearInterval(runTimer);
  runTimer = on
    ? setInterval(() => {
        page.tick();
        paint();
        describe(false);
      }, page.tickIntervalMs())
    : 0;
}

// Stopped, a turn lasts one drawing: the step tick after it puts the turn at rest, as the
// desktop's step timer does.
function settleSoon() {
  if (page.running() || settleTimer) return;
  settleTimer = setTimeout(() => {
    settleTimer = 0;
    if (page.running()) return;
    page.tick();
    paint();
    describe(true);
  }, page.tickIntervalMs());
}

function act(call) {
  call();
  paint();
  settleSoon();
}

function download(bytes, name, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const a = document.createElement("a");
  a.href = url;
  a.download = name;
  a.click();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// A text file's bytes for the core, which reads UTF-8 and the object files' code page.
function utf8OfUtf16(bytes) {
  if (bytes.length < 2) return bytes;
  const le = bytes[0] === 0xff && bytes[1] === 0xfe, be = bytes[0] === 0xfe && bytes[1] === 0xff;
  if (!le && !be) return bytes;
  return new TextEncoder().encode(new TextDecoder(le ? "utf-16le" : "utf-16be").decode(bytes));
}

async function openFile(file) {
  const most = core.maxObjectTextBytes();
  const shape = core.isShapeFile(file.name);
  // No character takes more than four bytes, so a larger text file cannot fit.
  if (!shape && !file.name.toLowerCase().endsWith(".kfm") && file.size > 4 * most) {
    status(`The file ${file.name} is too large for an object text, which holds at most ${most} characters.`);
    return;
  }
  if (!mayReplace()) return;
  // Of a shape file no more than the core would take and one byte, so it can say it is too large.
  const whole = shape ? file.slice(0, core.maxShapeFileBytes() + 1) : file;
  const bytes = new Uint8Array(await whole.arrayBuffer());
  if (shape) {
    const read = core.shapeObject(file.name, bytes);
    if (read.reason) {
      status(read.reason);
      return;
    }
    fileName = "noname.kfm";
    openedBytes = null;
    showObject(read.object);
  } else if (file.name.toLowerCase().endsWith(".kfm")) {
    const read = core.decodeObject(bytes);
    if (read.reason) {
      status(`${file.name}: ${read.reason}`);
      return;
    }
    fileName = file.name;
    openedBytes = bytes;
    showObject(read.object);
  } else {
    fileName = "noname.kfm";
    openedBytes = null;
    showObject({ ...core.newObject(), text: core.textFileAsEditorText(utf8OfUtf16(bytes)) });
  }
  status(`Opened ${file.name}`);
}

function saveObject() {
  const format = $("save-format").value;
  if (format !== "kfm") {
    const name = fileName.replace(/\.kfm$/i, "") + "." + format;
    const written = core.shapeFile(currentObject(), fileName, format);
    if (written.reason) {
      status(`The object cannot be saved as ${format.toUpperCase()}: ${written.reason}`);
      return;
    }
    download(written.bytes, name, "application/octet-stream");
    status(written.leftOut ? `Saved ${name}; ${written.leftOut} connection(s) naming no point left out` : `Saved ${name}`);
    return;
  }
  const encoded = core.encodeObject(currentObject(), openedBytes);
  if (encoded.reason) {
    status(`The object cannot be saved: ${encoded.reason}`);
    return;
  }
  download(encoded.bytes, fileName, "application/octet-stream");
  status(`Saved ${fileName}`);
  markSaved();
}

function markSaved() {
  saved = JSON.stringify(currentObject());
  keep();
}

function savePicture() {
  canvas.toBlob((blob) => {
    download(blob, fileName.replace(/\.kfm$/i, "") + ".png", "image/png");
    status("Saved the picture");
  }, "image/png");
}

function wireControls() {
  const buttons = {
    "turn-up": () => page.turnUp(),
    "turn-down": () => page.turnDown(),
    "turn-right": () => page.turnRight(),
    "turn-left": () => page.turnLeft(),
    "zoom-in": () => page.zoomIn(),
    "zoom-out": () => page.zoomOut(),
    "move-x-plus": () => page.move(0, 1),
    "move-y-plus": () => page.move(1, 1),
    "move-z-plus": () => page.move(2, 1),
    "move-x-minus": () => page.move(0, -1),
    "move-y-minus": () => page.move(1, -1),
    "move-z-minus": () => page.move(2, -1),
    run: () => setRunning(!page.running()),
  };
  for (const [id, call] of Object.entries(buttons)) $(id).addEventListener("click", () => act(call));
  $("nav-cross").addEventListener("change", (e) => act(() => page.setCross(e.target.checked)));
  $("numbers").addEventListener("change", (e) => act(() => page.setNumbers(e.target.checked)));
  // The next tick takes the speed into the scene, as on the desktop.
  $("speed").addEventListener("change", (e) => {
    act(() => page.setSpeed(Number(e.target.value) || 0));
    e.target.value = String(page.speed());
  });

  for (const id of ["axis-order", "object-cross"]) $(id).addEventListener("input", restartSoon);
  // A colour shows at once, the animation going on as it is.
  ["object-colour", "background-colour", "cross-colour"].forEach((id, kind) =>
    $(id).addEventListener("input", (e) => {
      act(() => page.setColour(kind, hexToColour(e.target.value)));
      keep();
    }));

  // One finger or the mouse drags to turn (in run mode a drag let go keeps turning its way);
  // two fingers pinch to zoom, a notch of the wheel for each 1.2 times apart.
  const pointers = new Map();
  let last = null;
  let pinch = null; // {start: the fingers' distance at first, sent: eighths of a degree sent}
  const distance = () => {
    const [a, b] = [...pointers.values()];
    return Math.hypot(a.x - b.x, a.y - b.y);
  };
  canvas.addEventListener("pointerdown", (e) => {
    if (e.button !== 0) return;
    canvas.focus();
    canvas.setPointerCapture(e.pointerId);
    pointers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    if (pointers.size === 2) {
      if (last) act(() => page.release());
      last = null;
      pinch = { start: distance(), sent: 0 };
    } else if (pointers.size === 1) {
      last = { x: e.clientX, y: e.clientY };
      act(() => page.press());
    }
  });
  canvas.addEventListener("pointermove", (e) => {
    if (!pointers.has(e.pointerId)) return;
    pointers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    if (pinch && pointers.size === 2) {
      const now = distance();
      if (now > 0 && pinch.start > 0) {
        const total = Math.round((Math.log(now / pinch.start) / Math.log(1.2)) * 120);
        const eighths = total - pinch.sent;
        pinch.sent = total;
        if (eighths) act(() => page.wheel(eighths));
      }
      return;
    }
    if (!last) return;
    const dx = e.clientX - last.x, dy = e.clientY - last.y;
    last = { x: e.clientX, y: e.clientY };
    act(() => page.drag(dx, dy, canvas.clientWidth, canvas.clientHeight));
  });
  const letGo = (e) => {
    pointers.delete(e.pointerId);
    if (pointers.size < 2) pinch = null;
    if (!last) return;
    last = null;
    act(() => page.release());
  };
  canvas.addEventListener("pointerup", letGo);
  canvas.addEventListener("pointercancel", letGo);
  canvas.addEventListener(
    "wheel",
    (e) => {
      e.preventDefault();
      // In eighths of a degree, 120 a notch, positive away from the user, as the desktop counts.
      const perUnit = e.deltaMode === 0 ? 1.2 : e.deltaMode === 1 ? 40 : 120;
      act(() => page.wheel(Math.round(-e.deltaY * perUnit)));
    },
    { passive: false },
  );
  canvas.addEventListener("keydown", (e) => {
    if (e.ctrlKey || e.altKey || e.metaKey) return;
    const keys = {
      ArrowUp: () => page.turnUp(),
      ArrowDown: () => page.turnDown(),
      ArrowRight: () => page.turnRight(),
      ArrowLeft: () => page.turnLeft(),
      "+": () => page.zoomIn(),
      "=": () => page.zoomIn(),
      "-": () => page.zoomOut(),
      " ": () => {
        if (!e.repeat) setRunning(!page.running());
      },
    };
    const call = keys[e.key];
    if (!call) return;
    e.preventDefault();
    act(call);
  });

  $("open-file").addEventListener("change", (e) => {
    if (e.target.files.length) openFile(e.target.files[0]);
    e.target.value = "";
  });
  $("open").addEventListener("click", () => $("open-file").click());
  $("new").addEventListener("click", () => {
    if (!mayReplace()) return;
    fileName = "noname.kfm";
    openedBytes = null;
    showObject(core.newObject());
    status("New object");
  });
  $("example").addEventListener("change", async (e) => {
    const name = e.target.value;
    e.target.value = "";
    if (!name || !mayReplace()) return;
    const { examples } = await import("./examples.js");
    fileName = "noname.kfm";
    openedBytes = null;
    showObject({ ...core.newObject(), text: core.textFileAsEditorText(examples[name]) });
    status(`Opened the example ${name}`);
  });
  document.addEventListener("dragover", (e) => e.preventDefault());
  document.addEventListener("drop", (e) => {
    e.preventDefault();
    if (e.dataTransfer.files.length) openFile(e.dataTransfer.files[0]);
  });
  $("save").addEventListener("click", saveObject);
  $("save-picture").addEventListener("click", savePicture);
  $("share").addEventListener("click", copyShareLink);
  window.addEventListener("hashchange", async () => {
    // The address is read once: a long one costs time at every reading.
    const link = location.href;
    if (!link.includes("#")) return;
    const read = await core.objectOfLink(link);
    if (read.reason) alertUser(read.reason);
    else if (mayReplace()) showLinked(read.object);
  });
  // Work is kept as it is typed, yet the browser's question still guards what was never saved
  // to a file.
  window.addEventListener("beforeunload", (e) => {
    if (!edited()) return;
    e.preventDefault();
    e.returnValue = "";
  });
}

function showLinked(object) {
  alertUser("");
  fileName = "noname.kfm";
  openedBytes = null;
  showObject(object);
}

// What the page opens with: the link's object (asking before it replaces kept, edited work),
// else the kept work, else the example house. A refused link leaves the kept work or an empty
// object, with the reason in plain sight.
async function firstObject() {
  const work = loadWork();
  const workEdited = work && JSON.stringify(work.object) !== work.saved;
  const restore = () => {
    fileName = work.fileName || "noname.kfm";
    openedBytes = work.openedBytes;
    saved = work.saved;
    showObject(work.object, { restored: true });
  };
  const link = location.href;
  if (link.includes("#")) {
    const read = await core.objectOfLink(link);
    if (read.reason) {
      if (work) restore();
      else showObject(core.newObject());
      alertUser(read.reason);
      return;
    }
    if (!workEdited || window.confirm(kReplaceQuestion)) {
      showLinked(read.object);
      return;
    }
  }
  if (work) restore();
  else showObject({ ...core.newObject(), text: core.textFileAsEditorText(houseText) });
}

async function copyShareLink() {
  const made = await core.shareLink(currentObject(), location.href.split("#")[0]);
  if (made.reason) {
    status(`No link made: ${made.reason}`);
    return;
  }
  const field = $("share-link");
  field.value = made.link;
  field.hidden = false;
  try {
    await navigator.clipboard.writeText(made.link);
    status("Share link copied");
  } catch {
    field.select();
    status("Copy the share link from its field");
  }
}

async function main() {
  await core.loadCore();
  page = core.newPage();
  // The picture's size and the speed's range are the core's, as on the desktop.
  canvas.width = page.width();
  canvas.height = page.height();
  const speed = $("speed");
  speed.min = String(page.speedMin());
  speed.max = String(page.speedMax());
  speed.value = String(page.speed());
  await firstObject();
  performance.mark("first-picture");
  // The editor is most of the page's code: it comes after the picture.
  const { createEditor } = await import("./editor.js");
  editor = createEditor($("editor"), restartSoon);
  editor.setText(startText);
  restart();
  wireControls();
  // Offline after the first visit: the page's files come from the browser's cache.
  if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
  document.body.dataset.ready = "true";
}

main();
