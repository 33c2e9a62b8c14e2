"""With no pictures the program shows its plain message and ends with status 0."""
import harness

TEXT = "Нет картинок. Программа будет завершена!"


class NoPictures(harness.TestCase):
    def test_message_then_exit(self):
        display = self.display
        # The title comes from the program file's name: MyGame.Final -> Mygame.
        game = self.start(images=None, name="MyGame.Final")
        wid = game.find_window("^Mygame$")
        x, y, w, h = display.outer_geometry(wid)
        with self.subTest("a small form"):
            self.assertTrue(w < 600 and h < 300, f"message form is {w}x{h}")
        # Centred on the primary monitor's work area (the whole screen under Xvfb).
        with self.subTest("centred"):
            self.assertLessEqual(abs((x + w / 2) - display.width / 2), 2, (x, w))
            self.assertLessEqual(abs((y + h / 2) - display.height / 2), 2, (y, h))
        # The main window never shows: the message is the program's only window on screen.
        with self.subTest("the only window"):
            self.assertEqual(display.windows(pid=game.proc.pid), [wid])
            self.assertEqual(display.windows("^Tintbox$"), [], "the main window is on screen")
        # Ctrl+C puts the form's text, with its title, on the clipboard.
        display.run("xdotool", "windowactivate", "--sync", wid, check=False)
        text = display.copy()
        with self.subTest("text and title on the clipboard"):
            self.assertIn(TEXT, text)
            self.assertIn("Mygame", text)
        display.key("Return")
        self.assertEqual(game.exit_code(timeout=10), 0, "exit status")


if __name__ == "__main__":
    harness.main()
