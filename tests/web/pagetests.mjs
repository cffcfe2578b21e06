// The web page in headless Chromium, one browser session for every case: the same pixels as
// wirevane-tool render, the same file bytes as a desktop save, findings in the gutter, a drag
// that turns, no request outside the page's origin, no accessibility violation.
//   node pagetests.mjs SOURCE_DIR PAGE_DIR TOOL
import { execFileSync } from "node:child_process";
import { existsSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { basename, join, resolve } from "node:path";

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
