package visualizador.janela;

import java.awt.Component;
import java.awt.GridBagConstraints;
import java.awt.GridBagLayout;
import java.awt.Insets;
import javax.print.PrintService;
import javax.print.PrintServiceLookup;
import javax.swing.JComboBox;
import javax.swing.JLabel;
import javax.swing.JOptionPane;
import javax.swing.JPanel;
import javax.swing.JSpinner;
import javax.swing.JTextField;
import javax.swing.SpinnerNumberModel;
import visualizador.ErroRelatorio;
import visualizador.formatos.IntervaloPaginas;

/**
 * "Imprimir…": the printer, the copies and the pages (all, or a range such as 3-7), in Portuguese.
 * A range that is not valid for the report is said so and the dialog stays.
 */
final class DialogoImpressao {
    /** {@code paginas}: null for all. */
    record Escolha(PrintService impressora, int copias, IntervaloPaginas paginas) {}

    private DialogoImpressao() {}

    /** Null when the user gives up. {@code total}: the report's pages. */
    static Escolha escolher(Component pai, PrintService[] impressoras, PrintService padrao, int total) {
        final JComboBox<String> lista = new JComboBox<>();
        for (PrintService s : impressoras) lista.addItem(s.getName());
        for (int i = 0; i < impressoras.length; i++)
            if (impressoras[i].equals(padrao)) lista.setSelectedIndex(i);
        lista.setName("impressora");
        final JSpinner copias = new JSpinner(new SpinnerNumberModel(1, 1, 999, 1));
        copias.setName("copias");
        final JTextField paginas = new JTextField(10);
        paginas.setName("paginas");
        paginas.setToolTipText("Por exemplo 3-7, ou 5; em branco, todas as " + total + " páginas");

        final JPanel painel = new JPanel(new GridBagLayout());
        final GridBagConstraints g = new GridBagConstraints();
        g.insets = new Insets(3, 4, 3, 4);
        g.anchor = GridBagConstraints.WEST;
        linha(painel, g, 0, "Impressora:", lista);
        linha(painel, g, 1, "Cópias:", copias);
        linha(painel, g, 2, "Páginas (1 a " + total + "; em branco, todas):", paginas);

        final Object[] botoes = {"Imprimir", "Cancelar"};
        while (JOptionPane.showOptionDialog(pai, painel, "Imprimir", JOptionPane.OK_CANCEL_OPTION,
                JOptionPane.PLAIN_MESSAGE, null, botoes, botoes[0]) == 0) {
            try {
                final IntervaloPaginas intervalo = IntervaloPaginas.analisar(paginas.getText());
                if (intervalo != null) intervalo.verificar(total);
                return new Escolha(impressoras[lista.getSelectedIndex()], (Integer) copias.getValue(), intervalo);
            } catch (ErroRelatorio e) {
                JOptionPane.showMessageDialog(pai, Avisos.quebrar(e.getMessage()), "Imprimir", JOptionPane.ERROR_MESSAGE);
            }
        }
        return null;
    }

    /** The printers installed. */
    static PrintService[] impressoras() {
        return PrintServiceLookup.lookupPrintServices(null, null);
    }

    private static void linha(JPanel painel, GridBagConstraints g, int y, String rotulo, Component campo) {
        final JLabel r = new JLabel(rotulo);
        if (campo instanceof javax.swing.JComponent c) r.setLabelFor(c);
        g.gridy = y;
        g.gridx = 0;
        g.fill = GridBagConstraints.NONE;
        painel.add(r, g);
        g.gridx = 1;
        g.fill = GridBagConstraints.HORIZONTAL;
        painel.add(campo, g);
    }
}
