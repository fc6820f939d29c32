// Touch controls of the web page: on a device with a touch screen, buttons beside (or, on a
// screen too narrow, over) the canvas play as the keys: left, right, hide, jump, fire, full
// screen and quit. Several fingers play at once; a control is held while a finger is on it
// (sliding from one to the next moves with it), and a tap holds it long enough for the game
// to see it. The page itself never scrolls, zooms or selects. Without touch nothing changes.
"use strict";
(function () {
  if (!(navigator.maxTouchPoints > 0 || "ontouchstart" in window)) return;
  document.documentElement.classList.add("kav-touch");

  // A tap is held at least this long: the game sees only keys held when a frame runs.
  var MIN_HOLD_MS = 100;
  var CONTROLS = [
    // class, label, virtual key the game gets
    ["left", "\u25C0", 37], ["right", "\u25B6", 39], ["hide", "\u25BC", 40],
    ["jump", "JUMP", 38], ["fire", "FIRE", 32],
    ["full", "\u25A3", 112], ["quit", "\u2715", 27]
  ];

  var layer = document.createElement("div");
  layer.id = "kav-touch";
  CONTROLS.forEach(function (c) {
    var key = document.createElement("div");
    key.className = "key " + c[0];
    key.textContent = c[1];
    key.dataset.vk = c[2];
    layer.appendChild(key);
  });
  var turn = document.createElement("div");
  turn.id = "kav-turn";
  turn.textContent = "Turn the phone sideways to play.";
  document.body.append(layer, turn);

  var style = document.createElement("style");
  style.textContent = [
    "html.kav-touch, html.kav-touch body { width: 100%; height: 100%; overflow: hidden;",
    "  touch-action: none; overscroll-behavior: none; user-select: none; -webkit-user-select: none;",
    "  -webkit-touch-callout: none; -webkit-tap-highlight-color: transparent; }",
    // The canvas keeps 4:3 and fills the screen's height (or its width, if that is smaller);
    // the controls take the room of the page's title and key list.
    "html.kav-touch header, html.kav-touch #keys { display: none; }",
    "html.kav-touch #screen { position: absolute; left: 50%; top: 50%; margin: 0;",
    "  transform: translate(-50%, -50%); width: min(100vw, calc(100vh * 4 / 3)) !important;",
    "  height: min(100vh, calc(100vw * 3 / 4)) !important; }",
    "html.kav-touch #canvas { width: 100%; height: 100%; }",
    // Buttons a thumb can hit.
    "html.kav-touch .dialog button { min-width: 110px; min-height: 44px; font-size: 18px; }",
    "#kav-touch { position: fixed; inset: 0; pointer-events: none; z-index: 5; }",
    "#kav-touch .key { position: absolute; pointer-events: auto; box-sizing: border-box;",
    "  width: 68px; height: 68px; border-radius: 50%; display: flex; align-items: center;",
    "  justify-content: center; color: #fff; font: bold 18px sans-serif;",
    "  background: rgba(255, 255, 255, 0.16); border: 2px solid rgba(255, 255, 255, 0.55); }",
    "#kav-touch .key.held { background: rgba(255, 255, 255, 0.5); }",
    "#kav-touch .left { left: 8px; bottom: 20px; }",
    "#kav-touch .right { left: 84px; bottom: 20px; }",
    "#kav-touch .hide { left: 46px; bottom: 96px; }",
    "#kav-touch .jump { right: 8px; bottom: 72px; width: 76px; height: 76px; }",
    "#kav-touch .fire { right: 86px; bottom: 20px; }",
    "#kav-touch .full, #kav-touch .quit { top: 8px; width: 46px; height: 46px; font-size: 20px; }",
    "#kav-touch .full { left: 8px; }",
    "#kav-touch .quit { right: 8px; }",
    "#kav-turn { display: none; }",
    "@media (orientation: portrait) { html.kav-touch #kav-turn { display: flex; position: fixed;",
    "  inset: 0; z-index: 10; align-items: center; justify-content: center; padding: 24px;",
    "  background: #000; color: #ddd; font: 20px sans-serif; text-align: center; } }"
  ].join("\n");
  document.head.appendChild(style);

  // Sharp pixels: scaled up, the picture keeps its square pixels; scaled down, it is smoothed.
  function fitPixels() {
    var canvas = document.getElementById("canvas");
    var shown = canvas.getBoundingClientRect().width * (window.devicePixelRatio || 1);
    canvas.style.imageRendering = shown >= canvas.width ? "pixelated" : "auto";
  }
  window.addEventListener("resize", fitPixels);
  fitPixels();

  // Full screen holds the controls as well as the canvas.
  var canvas = document.getElementById("canvas");
  canvas.requestFullscreen = function () {
    var asked = document.documentElement.requestFullscreen();
    if (asked && asked.then && screen.orientation && screen.orientation.lock)
      asked.then(function () { return screen.orientation.lock("landscape"); }).catch(function () {});
    return asked;
  };

  function tell(vk, down) {
    if (document.body.dataset.kav !== "running") return;
    try { Module.ccall("KavTouchKey", null, ["number", "number"], [vk, down ? 1 : 0]); } catch (e) { /* not started */ }
  }

  var fingers = {};   // touch identifier -> the control under it, or null
  var held = {};      // vk -> {since, release timer}

  function press(key) {
    var vk = Number(key.dataset.vk), h = held[vk];
    if (h) { clearTimeout(h.timer); h.timer = 0; return; }
    held[vk] = {since: performance.now(), timer: 0};
    key.classList.add("held");
    tell(vk, true);
  }

  function release(key) {
    var vk = Number(key.dataset.vk), h = held[vk];
    if (!h || h.timer) return;
    var letGo = function () { delete held[vk]; key.classList.remove("held"); tell(vk, false); };
    var left = MIN_HOLD_MS - (performance.now() - h.since);
    if (left > 0) h.timer = setTimeout(letGo, left); else letGo();
  }

  function controlAt(x, y) {
    var el = document.elementFromPoint(x, y);
    return el && el.parentElement === layer ? el : null;
  }

  function onTouch(e) {
    var onControls = false;
    for (var i = 0; i < e.changedTouches.length; i++) {
      var t = e.changedTouches[i];
      var was = fingers[t.identifier];
      if (e.type === "touchend" || e.type === "touchcancel") delete fingers[t.identifier];
      else if (e.type === "touchstart" || was !== undefined) fingers[t.identifier] = controlAt(t.clientX, t.clientY);
      onControls = onControls || was || fingers[t.identifier];
    }
    var wanted = [];
    for (var id in fingers) if (fingers[id]) wanted.push(fingers[id]);
    Array.prototype.forEach.call(layer.children, function (key) {
      if (wanted.indexOf(key) >= 0) press(key); else release(key);
    });
    // On the controls and the canvas a touch is the game's; on the dialogs it is a tap.
    if (e.cancelable && (onControls || e.target === canvas || e.type === "touchmove")) e.preventDefault();
  }
  ["touchstart", "touchmove", "touchend", "touchcancel"].forEach(function (type) {
    document.addEventListener(type, onTouch, {passive: false});
  });
  // No long-press menu, no double-tap zoom, no pinch.
  document.addEventListener("contextmenu", function (e) { e.preventDefault(); });
  document.addEventListener("gesturestart", function (e) { e.preventDefault(); });
})();
