// The web page in headless Chromium, one browser session for every case: the same pixels as
// wirevane-tool render, the same file bytes as a desktop save, findings in the gutter, a drag
// that turns, no request outside the page's origin, no accessibility violation.
//   node pagetests.mjs SOURCE_DIR PAGE_DIR TOOL
import { execFileSync } from "node:child_process";
import { existsSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { basename, join, resolve } from "node:path";
import zlib from "node:zlib";

const [source, pageDir, tool] = process.argv.slice(2).map((a) => resolve(a));
const require = createRequire(join(source, "web/package.json"));
const puppeteer = require("puppeteer-core");
const { PNG } = require("pngjs");
const { serve } = await import(join(source, "web/serve.mjs"));

if (!existsSync(join(pageDir, "index.html"))) {
  console.error(`no page in ${pageDir}: run make web`);
  process.exit(1);
}
const work = mkdtempSync(join(tmpdir(), "wirevane-page-"));
let failures = 0;
function check(name, ok, detail = "") {
  console.log(`${ok ? "ok" : "not ok"} - ${name}${ok || !detail ? "" : ": " + detail}`);
  if (!ok) failures++;
}
function runTool(...args) {
  return execFileSync(tool, args, { cwd: source, encoding: "utf8" });
}
function toolPicture(file, ...options) {
  const out = join(work, "tool.png");
  runTool("render", file, "-o", out, ...options);
  return PNG.sync.read(readFileSync(out));
}
// The raw deflate of mebibytes of zeros, made fast: after the first mebibyte each further one
// deflates to the same bytes, as the window holds nothing but zeros.
async function zerosBomb(mebibytes) {
  const deflate = zlib.createDeflateRaw();
  const out = [];
  deflate.on("data", (chunk) => out.push(chunk));
  const flushed = () => new Promise((done) => deflate.flush(zlib.constants.Z_SYNC_FLUSH, done));
  const block = Buffer.alloc(1 << 20);
  deflate.write(block);
  await flushed();
  const first = Buffer.concat(out.splice(0));
  deflate.write(block);
  await flushed();
  const again = Buffer.concat(out.splice(0));
  const end = new Promise((done) => deflate.on("end", done));
  deflate.end();
  await end;
  return Buffer.concat([first, ...Array(mebibytes - 1).fill(again), ...out]);
}

// The first differing pixel of two pictures, or "" when they are equal.
function difference(actual, expected) {
  if (actual.width !== expected.width || actual.height !== expected.height)
    return `size ${actual.width}x${actual.height}, expected ${expected.width}x${expected.height}`;
  for (let i = 0; i < expected.data.length; i++)
    if (actual.data[i] !== expected.data[i]) {
      const p = i >> 2;
      return `pixel (${p % expected.width}, ${Math.floor(p / expected.width)}) differs`;
    }
  return "";
}

const server = await serve(pageDir, 0);
const origin = `http://127.0.0.1:${server.address().port}`;
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--no-first-run"],
});
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1200, height: 900, deviceScaleFactor: 1 });
  // The page's questions (a leave question, replacing edited work): yes, unless a case says no.
  const dialogs = [];
  let answer = true;
  page.on("dialog", (dialog) => {
    dialogs.push(dialog.type() === "beforeunload" ? "leave" : dialog.message());
    answer ? dialog.accept() : dialog.dismiss();
  });
  const requests = [];
  page.on("request", (request) => requests.push(request.url()));
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  // A request the content security policy refuses is an error on the console.
  page.on("console", (message) => message.type() === "error" && errors.push(message.text()));
  const downloads = join(work, "downloads");
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });

  const canvasPicture = async () =>
    PNG.sync.read(
      Buffer.from(
        (await page.$eval("#picture", (c) => c.toDataURL("image/png"))).split(",")[1],
        "base64",
      ),
    );
  const status = () => page.$eval("#status", (e) => e.textContent);
  const open = async (file) => {
    await (await page.$("#open-file")).uploadFile(file);
    await page.waitForFunction((name) => document.getElementById("status").textContent === `Opened ${name}`,
      { timeout: 5000 }, basename(file));
  };
  // The path of a download once it is complete, or null after five seconds.
  const downloaded = async (name) => {
    const path = join(downloads, name);
    for (let i = 0; i < 50 && !existsSync(path); i++) await new Promise((r) => setTimeout(r, 100));
    return existsSync(path) ? path : null;
  };
  const editorText = () => page.$eval(".cm-content", (e) => e.innerText);
  const click = async (selector, times = 1) => {
    for (let i = 0; i < times; i++) await page.click(selector);
  };

  await page.goto(origin + "/");
  await page.waitForSelector("body[data-ready]", { timeout: 10000 }).catch((e) => {
    throw new Error(`the page did not start: ${errors.join("; ") || e.message}`);
  });

  // Every object of the golden cases: the first picture, then K turn-pad clicks at speed 2,
  // as render draws K times with a turn of 2 degrees.
  const goldenObjects = new Set();
  for (const name of readdirSync(join(source, "tests/golden")).filter((n) => n.endsWith(".args")))
    for (const word of readFileSync(join(source, "tests/golden", name), "utf8").split(/\s+/))
      if (word.startsWith("examples/")) goldenObjects.add(word);
  const turns = [
    { button: "#turn-right", option: "--turn-xz", steps: 3 },
    { button: "#turn-up", option: "--turn-yz", steps: 2 },
    { button: "#turn-left", option: "--turn-xz", steps: 4, degrees: "-2" },
    { button: "#turn-down", option: "--turn-yz", steps: 2, degrees: "-7", speed: "7" },
  ];
  const setSpeed = async (speed) => {
    await page.click("#speed", { clickCount: 3 });
    await page.keyboard.type(speed);
    await page.keyboard.press("Tab");
    await new Promise((r) => setTimeout(r, 100)); // a tick takes the speed into the scene
  };
  let index = 0;
  for (const file of [...goldenObjects].sort()) {
    await open(join(source, file));
    const first = difference(await canvasPicture(), toolPicture(file));
    check(`${file}: first picture as render's`, !first, first);
    const turn = turns[index++ % turns.length];
    if (turn.speed) await setSpeed(turn.speed);
    await click(turn.button, turn.steps);
    const expected = toolPicture(file, turn.option, turn.degrees || "2", "--steps", String(turn.steps));
    const d = difference(await canvasPicture(), expected);
    check(`${file}: ${turn.steps} x ${turn.button} at speed ${turn.speed || 2} as render --steps ${turn.steps}`, !d, d);
    if (turn.speed) await setSpeed("2");
  }

  // A drag of 100 pixels to the right over the 553 pixels of the picture: 180 / 553 * 100 =
  // 32.5 degrees, of which whole degrees turn, the front to the right.
  await open(join(source, "examples/house.txt"));
  const box = await (await page.$("#picture")).boundingBox();
  await page.mouse.move(box.x + 200, box.y + 150);
  await page.mouse.down();
  await page.mouse.move(box.x + 300, box.y + 150, { steps: 1 });
  await page.mouse.up();
  {
    const d = difference(await canvasPicture(), toolPicture("examples/house.txt", "--turn-xz", "-32"));
    check("a drag turns the picture", !d, d);
  }

  // In run mode a drag let go keeps the object turning: two pictures a while apart differ.
  {
    await click("#run");
    await page.mouse.move(box.x + 200, box.y + 150);
    await page.mouse.down();
    await page.mouse.move(box.x + 260, box.y + 150, { steps: 1 });
    await page.mouse.up();
    await new Promise((r) => setTimeout(r, 100));
    const before = await canvasPicture();
    await new Promise((r) => setTimeout(r, 200));
    const d = difference(await canvasPicture(), before);
    await click("#run");
    check("a flick in run mode keeps turning", d !== "", "the picture stood still");
  }

  // Keys on the picture: the arrows as the turn pad, "+" and "-" as the zoom buttons.
  for (const [keys, options] of [
    [["ArrowUp", "ArrowUp"], ["--turn-yz", "2", "--steps", "2"]],
    [["+"], ["--zoom", "1.2"]],
    [["-", "-"], ["--zoom", "0.8", "--steps", "2"]],
  ]) {
    await open(join(source, "examples/cube.txt"));
    await page.focus("#picture");
    for (const key of keys) await page.keyboard.press(key);
    const d = difference(await canvasPicture(), toolPicture("examples/cube.txt", ...options));
    check(`keys ${keys.join(" ")} as render ${options.join(" ")}`, !d, d);
  }

  // A broken line: the gutter's sign and the list of findings say what check says.
  {
    const text = join(work, "broken.txt");
    writeFileSync(text, "0/0/0\n1,5/2/3\n\n1-2\n");
    let expected = [];
    try {
      runTool("check", "--json", text);
    } catch (error) {
      expected = JSON.parse(error.stdout);
    }
    await open(text);
    const signs = await page.$$eval(".wv-sign[title]", (all) =>
      all.map((s) => ({ title: s.title, number: s.nextElementSibling.textContent })));
    const listed = await page.$$eval("#findings li", (all) => all.map((li) => li.textContent));
    const finding = expected[0] || {};
    check("a broken line shows its finding in the gutter",
      expected.length === 1 && signs.length === 1 && signs[0].title === finding.message &&
        signs[0].number === "2" &&
        listed[0] === `Line ${finding.line}, column ${finding.column}: warning: ${finding.message}`,
      JSON.stringify({ expected, signs, listed }));
  }

  // A save of the page: the bytes a desktop save writes for the same values (pack's).
  {
    await open(join(source, "examples/star.txt"));
    await page.$eval("#axis-order", (e) => { e.value = "2"; });
    await page.$eval("#object-colour", (e) => { e.value = "#ff8000"; }); // red ff, green 80
    await page.click("#object-cross");
    await click("#save");
    const saved = await downloaded("noname.kfm");
    const packed = join(work, "packed.kfm");
    runTool("pack", "examples/star.txt", "-o", packed, "--axis", "2", "--object-color", "0080FF", "--cross");
    check("a saved object has the desktop's bytes",
      saved && readFileSync(saved).equals(readFileSync(packed)), saved ? "bytes differ" : "nothing saved");
  }

  // The picture in words for a screen reader, once it stands still.
  {
    await open(join(source, "examples/cube.kfm"));
    await click("#turn-right", 3);
    await page.waitForFunction(() =>
      document.getElementById("animation-description").textContent.includes("Turned 6 degrees in the x-z plane"),
      { timeout: 2000 }).catch(() => {});
    const said = await page.$eval("#animation-description", (e) => e.textContent);
    check("the description says the turn", said.startsWith("cube.kfm: 8 points") && said.includes("Turned 6 degrees in the x-z plane"), said);
  }

  // An example opens as wirevane-tool draws it; New empties the page.
  {
    await page.select("#example", "octahedron");
    await page.waitForFunction(() => document.getElementById("status").textContent.includes("octahedron"));
    const d = difference(await canvasPicture(), toolPicture("examples/octahedron.txt"));
    check("an example opens as render draws it", !d, d);
    await click("#new");
    check("New shows an empty object", (await editorText()).trim() === "", await editorText());
  }

  // A colour changes the picture as it stands: a turned object stays turned.
  {
    await open(join(source, "examples/star.kfm"));
    await click("#turn-right", 2);
    for (const [id, value] of [["#object-colour", "#ff8000"], ["#background-colour", "#202060"]])
      await page.$eval(id, (e, v) => {
        e.value = v;
        e.dispatchEvent(new Event("input"));
      }, value);
    await new Promise((r) => setTimeout(r, 100));
    rmSync(downloads, { recursive: true, force: true });
    await click("#save");
    const saved = await downloaded("star.kfm");
    const d = saved ? difference(await canvasPicture(), toolPicture(saved, "--turn-xz", "2", "--steps", "2")) : "nothing saved";
    check("new colours show on the turned picture", !d, d);
  }

  // Shape files of other programs open through the core's readers, as wirevane-tool convert
  // reads them; an object saves as OBJ and PLY with the tool's bytes.
  {
    const obj = join(work, "tetra.obj");
    writeFileSync(obj, "v 0 0 0\nv 2 0 0\nv 0 2 0\nv 0 0 2\nf 1 2 3\nf 1 2 4\nf 1 3 4\nf 2 3 4\n");
    const text = join(work, "tetra.txt");
    runTool("convert", obj, "-o", text);
    await open(obj);
    const d = difference(await canvasPicture(), toolPicture(text));
    check("an OBJ file opens as convert reads it", !d, d);

    const broken = join(work, "broken.stl");
    writeFileSync(broken, "solid x\nfacet normal 0 0 1\n");
    await (await page.$("#open-file")).uploadFile(broken);
    await page.waitForFunction(() => document.getElementById("status").textContent.includes("broken.stl"),
      { timeout: 5000 }).catch(() => {});
    check("a broken STL file is refused with its name", (await status()).includes("broken.stl"), await status());

    await open(join(source, "examples/star.kfm"));
    for (const format of ["obj", "ply"]) {
      await page.select("#save-format", format);
      await click("#save");
      const saved = await downloaded(`star.${format}`);
      const written = join(work, `star.${format}`);
      runTool("convert", "examples/star.kfm", "-o", written);
      check(`a save as ${format.toUpperCase()} has the tool's bytes`,
        saved && readFileSync(saved).equals(readFileSync(written)), saved ? "bytes differ" : "nothing saved");
    }
    await page.select("#save-format", "kfm");
  }

  // A link made by the tool opens the same object; the page's own link of it opens it again.
  {
    const file = "examples/star.kfm";
    const link = runTool("link", file, "--base", origin + "/").trim();
    await page.goto(link);
    await page.waitForSelector("body[data-ready]", { timeout: 10000 });
    const values = () => page.evaluate(() => ["axis-order", "object-colour", "background-colour", "cross-colour", "object-cross"]
      .map((id) => { const e = document.getElementById(id); return e.type === "checkbox" ? e.checked : e.value; }));
    const fromTool = await values();
    let d = difference(await canvasPicture(), toolPicture(file));
    rmSync(downloads, { recursive: true, force: true });
    await click("#save");
    const saved = await downloaded("noname.kfm");
    const info = saved && runTool("info", saved);
    check("a link made by wirevane-tool link opens the same object",
      !d && info === runTool("info", file), d || `${info} vs ${runTool("info", file)}`);
    await click("#share");
    await page.waitForFunction(() => document.getElementById("share-link").value !== "");
    const own = await page.$eval("#share-link", (e) => e.value);
    await page.goto("about:blank"); // away, so that the link opens a new page
    await page.goto(own);
    await page.waitForSelector("body[data-ready]", { timeout: 10000 });
    d = difference(await canvasPicture(), toolPicture(file));
    const again = await values();
    check("the page's own link opens the object again", !d && JSON.stringify(again) === JSON.stringify(fromTool) &&
      own.startsWith(origin + "/#v1."), d || `${own}: ${JSON.stringify(again)} vs ${JSON.stringify(fromTool)}`);
  }

  const ready = () => page.waitForSelector("body[data-ready]", { timeout: 10000 });
  const mainThreadMs = async () =>
    (await cdp.send("Performance.getMetrics")).metrics.find((m) => m.name === "TaskDuration").value * 1000;

  // Typed work survives a reload; a link over edited work asks first, and No keeps the work.
  {
    await page.goto(origin + "/");
    await ready();
    await open(join(source, "examples/cube.txt"));
    await page.click(".cm-content");
    await page.keyboard.down("Control");
    await page.keyboard.press("Home");
    await page.keyboard.up("Control");
    await page.keyboard.type("' kept\n");
    await new Promise((r) => setTimeout(r, 400)); // kept once the typing pauses
    dialogs.length = 0;
    await page.reload();
    await ready();
    check("a reload brings typed work back", (await editorText()).startsWith("' kept"), await editorText());
    check("leaving edited work asks", dialogs.includes("leave"), JSON.stringify(dialogs));

    const link = runTool("link", "examples/star.kfm", "--base", origin + "/").trim();
    dialogs.length = 0;
    answer = false;
    await page.evaluate((l) => { location.href = l; }, link); // the same page: only its # changes
    await new Promise((r) => setTimeout(r, 300));
    answer = true;
    check("a link over edited work asks, and No keeps the work",
      dialogs.some((d) => d.includes("not saved")) && (await editorText()).startsWith("' kept"),
      JSON.stringify(dialogs));
    await page.goto("about:blank");
    await page.goto(link);
    await ready();
    const d = difference(await canvasPicture(), toolPicture("examples/star.kfm"));
    check("a link over edited work opens once the user says yes", !d, d);
  }

  // Links that cannot hurt: longer than any object's link, or a bomb that fits that length. In
  // a page of their own, as the test's listeners would take the page's time for a long link.
  const plain = await browser.newPage();
  // Heard before the page's own listener, which does its work in the same task.
  await plain.evaluateOnNewDocument(() =>
    addEventListener("hashchange", () => { window.linkArrived = performance.now(); }));
  // The best of three: the time the page takes, not the time another process took from it.
  for (const [name, mebibytes] of [["1 GiB", 1024], ["30 MiB", 30]]) {
    const bomb = await zerosBomb(mebibytes);
    const link = `${origin}/#v1.${bomb.toString("base64url")}`;
    let best = Infinity;
    let alert = "";
    for (let attempt = 0; attempt < 3; attempt++) {
      await plain.goto(origin + "/");
      await plain.waitForSelector("body[data-ready]", { timeout: 10000 });
      // From the link's arrival to the refusal on the screen.
      const spent = await plain.evaluate((l) => new Promise((done) => {
        const shown = document.getElementById("alert");
        new MutationObserver((_, watch) => {
          if (shown.hidden) return;
          watch.disconnect();
          done(performance.now() - window.linkArrived);
        }).observe(shown, { attributes: true });
        setTimeout(() => done(Infinity), 5000);
        location.href = l;
      }), link);
      alert = await plain.$eval("#alert", (e) => (e.hidden ? "" : e.textContent));
      best = Math.min(best, spent);
    }
    check(`a link of ${name} of zeros is refused in ${best.toFixed(0)} ms`, alert !== "" && best < 100, alert);
  }
  await plain.close();

  // Nothing is drawn while the picture stands still: the page works no more than a blank one.
  {
    const secondOf = async (url) => {
      await page.goto(url);
      if (url !== "about:blank") await ready();
      await new Promise((r) => setTimeout(r, 1500)); // the start's own work done
      const before = await mainThreadMs();
      await new Promise((r) => setTimeout(r, 2000));
      return ((await mainThreadMs()) - before) / 2;
    };
    await cdp.send("Performance.enable");
    const blank = await secondOf("about:blank");
    const still = await secondOf(origin + "/");
    await cdp.send("Performance.disable");
    check(`a still page works ${still.toFixed(1)} ms a second, a blank one ${blank.toFixed(1)}`, still < blank + 2);
  }

  // Without network, a reload comes from the browser's cache.
  {
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 10000 })
      .catch(() => {});
    await page.setOfflineMode(true);
    let started = true;
    try {
      await page.reload();
      await ready();
    } catch {
      started = false;
    }
    await page.setOfflineMode(false);
    check("the page starts again without network", started);
  }

  // A browser whose storage is full says so: only a saved file keeps the work then.
  {
    const full = await browser.newPage();
    await full.evaluateOnNewDocument(() => {
      Storage.prototype.setItem = () => { throw new DOMException("full", "QuotaExceededError"); };
    });
    await full.goto(origin + "/");
    await full.waitForSelector("body[data-ready]", { timeout: 10000 });
    const said = await full.$eval("#status", (e) => e.textContent);
    check("full storage is told", said.includes("keeps no copy"), said);
    await full.close();
  }

  // On a phone: no sideways scrolling, fingers' room on every control, a pinch zooms as the wheel.
  {
    const phone = await browser.newPage();
    phone.on("dialog", (dialog) => dialog.accept());
    await phone.setViewport({ width: 360, height: 740, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
    await phone.goto(origin + "/");
    await phone.waitForSelector("body[data-ready]", { timeout: 10000 });
    const width = await phone.evaluate(() => document.documentElement.scrollWidth);
    check("a 360 px wide phone scrolls only up and down", width <= 360, `${width} px wide`);
    const small = await phone.$$eval("button, input, select", (all) =>
      all.filter((e) => e.offsetParent !== null && !e.hidden)
        .map((e) => [e.id || e.textContent, e.getBoundingClientRect()])
        .filter(([, r]) => r.width < 44 || r.height < 44)
        .map(([name, r]) => `${name} ${Math.round(r.width)}x${Math.round(r.height)}`));
    check("every control is 44 px or more on a touch screen", small.length === 0, small.join(", "));

    const touch = await phone.createCDPSession();
    await phone.$eval("#picture", (c) => c.scrollIntoView()); // fingers land on what is shown
    const box = await (await phone.$("#picture")).boundingBox();
    const cx = box.x + box.width / 2, cy = box.y + box.height / 2;
    const fingers = (apart) => [{ x: cx - apart / 2, y: cy, id: 1 }, { x: cx + apart / 2, y: cy, id: 2 }];
    await touch.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: fingers(50) });
    for (const apart of [54, 58, 60])
      await touch.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: fingers(apart) });
    await touch.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
    const shown = PNG.sync.read(Buffer.from(
      (await phone.$eval("#picture", (c) => c.toDataURL("image/png"))).split(",")[1], "base64"));
    const d = difference(shown, toolPicture("examples/star.kfm", "--zoom", "1.2"));
    check("two fingers 1.2 times apart zoom as a notch of the wheel", !d, d);
    await phone.close();
  }

  // The page asks nothing of any other origin.
  const foreign = requests.filter((url) => !url.startsWith(origin + "/") && !/^(data|blob):/.test(url));
  check("no request outside the page's origin", foreign.length === 0, foreign.join(" "));
  check("no error on the page", errors.length === 0, errors.join("; "));

  // The accessibility checker on the page as it opens.
  {
    await page.goto(origin + "/");
    await page.waitForSelector("body[data-ready]", { timeout: 10000 });
    // Through the debugging protocol, which the page's content security policy does not stop.
    await page.evaluate(readFileSync(require.resolve("axe-core/axe.min.js"), "utf8"));
    const violations = await page.evaluate(async () =>
      (await window.axe.run(document)).violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(", ")}`));
    check("axe finds no accessibility violation", violations.length === 0, violations.join("; "));
  }
} finally {
  await browser.close();
  server.close();
  rmSync(work, { recursive: true, force: true });
}
if (failures) console.log(`${failures} failed`);
process.exit(failures ? 1 : 0);
