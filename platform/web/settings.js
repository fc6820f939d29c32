// The page's settings file: kept in the browser's local storage as "kav.cfg", and edited in
// a dialog of the page, opened by the Settings button while no game runs (at the start
// question, and when the game has ended). Saving reloads the page, which hands the text to
// the game.
"use strict";
(function () {
  var open = document.createElement("button");
  open.id = "kav-settings-open";
  open.textContent = "Settings";
  var box = document.createElement("div");
  box.id = "kav-settings";
  box.className = "dialog";
  box.hidden = true;
  box.innerHTML = '<h1>Settings (kav.cfg)</h1><textarea spellcheck="false" wrap="off" rows="12" cols="56"></textarea>' +
    '<div class="buttons"><button class="save">Save</button><button class="cancel">Cancel</button></div>';
  var text = box.querySelector("textarea");
  document.getElementById("screen").appendChild(box);
  // Under the key list, which a touch screen's controls replace (touch.js runs first).
  var keys = document.getElementById("keys");
  (keys && !document.documentElement.classList.contains("kav-touch") ? keys : document.body).appendChild(open);

  var style = document.createElement("style");
  style.textContent = [
    "#kav-settings-open { margin-top: 10px; font: inherit; }",
    // On a touch screen the button sits on top.
    "html.kav-touch #kav-settings-open { position: fixed; top: 8px; left: 50%; transform: translateX(-50%);",
    "  z-index: 6; margin: 0; min-height: 40px; padding: 0 16px; font-size: 16px; }",
    "body[data-kav=running] #kav-settings-open { display: none; }",
    "#kav-settings { z-index: 7; }",
    "#kav-settings textarea { display: block; box-sizing: border-box; width: calc(100% - 28px);",
    "  margin: 12px 14px; font: 13px monospace; user-select: text; -webkit-user-select: text; }"
  ].join("\n");
  document.head.appendChild(style);

  open.onclick = function () {
    var kept = "";
    try { kept = localStorage.getItem("kav.cfg") || ""; } catch (e) { /* storage refused */ }
    // Nothing kept yet: the settings in force, every key spelt out, to start from.
    if (kept === "" && window.Module && Module.calledRun) kept = Module.ccall("KavSettingsText", "string", [], []);
    text.value = kept;
    box.hidden = false;
    text.focus();
    text.setSelectionRange(0, 0);
    text.scrollTop = 0;
  };
  box.querySelector(".cancel").onclick = function () { box.hidden = true; };
  box.querySelector(".save").onclick = function () {
    try { localStorage.setItem("kav.cfg", text.value); } catch (e) { alert("The browser keeps no settings: " + e); return; }
    location.reload();
  };
  // The game's keys are not the text's: typing in the box never reaches the game.
  text.addEventListener("keydown", function (e) { e.stopPropagation(); });
})();
