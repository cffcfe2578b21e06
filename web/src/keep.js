// The object being worked on, kept in the browser's storage as it is typed, so that a reload, a
// closed tab or a crash loses nothing. One record: the object's values, its file name, the .kfm
// it came from (a save keeps that file's other records) and the values as last opened or saved.
const kKey = "wirevane.work.v1";

function toBase64(bytes) {
  let text = "";
  for (let at = 0; at < bytes.length; at += 0x8000)
    text += String.fromCharCode(...bytes.subarray(at, at + 0x8000));
  return btoa(text);
}

function fromBase64(text) {
  return Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
}

// {object, fileName, openedBytes, saved} or null.
export function loadWork() {
  try {
    const work = JSON.parse(localStorage.getItem(kKey));
    if (!work || typeof work.object?.text !== "string") return null;
    return { ...work, openedBytes: work.openedBytes ? fromBase64(work.openedBytes) : null };
  } catch {
    return null;
  }
}

// False when the browser keeps nothing (storage full, or turned off).
export function keepWork({ object, fileName, openedBytes, saved }) {
  try {
    const openedText = openedBytes ? toBase64(openedBytes) : null;
    localStorage.setItem(kKey, JSON.stringify({ object, fileName, openedBytes: openedText, saved }));
    return true;
  } catch {
    return false;
  }
}
