// The sample book's script: a little life on every page, nothing the text depends on.
(function () {
  function showClock() {
    var clock = document.getElementById("clock");
    if (!clock) return;
    var now = new Date();
    clock.textContent = "Page opened at " + now.toLocaleTimeString() + ".";
  }

  function wireToggles() {
    var buttons = document.querySelectorAll("button[data-toggle]");
    for (var i = 0; i < buttons.length; i++) {
      buttons[i].addEventListener("click", function (event) {
        var target = document.getElementById(event.target.getAttribute("data-toggle"));
        if (target) target.hidden = !target.hidden;
      });
    }
  }

  document.addEventListener("DOMContentLoaded", function () {
    showClock();
    wireToggles();
  });
})();
